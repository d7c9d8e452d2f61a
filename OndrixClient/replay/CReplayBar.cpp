#include "replay/CReplayBar.h"

#include "ui_CReplayBar.h"

#include "replay/CReplayPlayer.h"

#include <QDateTime>
#include <QEvent>
#include <QSignalBlocker>

namespace {

// In the order of the speed list of the form.
const CReplayPlayer::Speed SPEEDS[] = { CReplayPlayer::SpeedReal, CReplayPlayer::SpeedFast, CReplayPlayer::SpeedMax };

} // namespace

CReplayBar::CReplayBar(CReplayPlayer* player, const QString& fileName, QWidget* parent)
    : QFrame(parent)
    , m_pUi(std::make_unique<Ui::CReplayBar>())
    , m_pPlayer(player)
    , m_strName(fileName)
{
    m_pUi->setupUi(this);
    QSlider* slider = m_pUi->m_pSeekSlider;
    slider->setRange(0, int(player->Length()));
    slider->setPageStep(std::max(1, int(player->Length() / 20)));
    const auto speed = std::find(std::begin(SPEEDS), std::end(SPEEDS), player->GetSpeed());
    m_pUi->m_pSpeedCombo->setCurrentIndex(int(speed - std::begin(SPEEDS)));
    connect(m_pUi->m_pPlayButton, &QPushButton::clicked, this, &CReplayBar::OnPlayButtonClicked);
    connect(m_pUi->m_pSpeedCombo, &QComboBox::activated, this, &CReplayBar::OnSpeedComboActivated);
    connect(m_pUi->m_pCloseButton, &QPushButton::clicked, this, &CReplayBar::closeRequested);
    connect(slider, &QSlider::sliderMoved, this, &CReplayBar::OnSeekSliderMoved);
    connect(slider, &QSlider::valueChanged, this, &CReplayBar::OnSeekSliderValueChanged);
    connect(slider, &QSlider::sliderReleased, this, &CReplayBar::OnSeekSliderReleased);
    connect(player, &CReplayPlayer::positionChanged, this, &CReplayBar::OnPlayerPositionChanged);
    connect(player, &CReplayPlayer::playingChanged, this, &CReplayBar::ShowTexts);
    ShowTexts();
    OnPlayerPositionChanged(player->Position());
}

CReplayBar::~CReplayBar() = default;

QString CReplayBar::TimeText(quint64 time)
{
    return QDateTime::fromSecsSinceEpoch(qint64(time)).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

void CReplayBar::OnPlayButtonClicked()
{
    if (m_pPlayer->IsPlaying())
        m_pPlayer->Pause();
    else
        m_pPlayer->Play();
}

void CReplayBar::OnSpeedComboActivated(int index)
{
    if (index >= 0 && index < int(std::size(SPEEDS)))
        m_pPlayer->SetSpeed(SPEEDS[index]);
}

void CReplayBar::OnSeekSliderMoved(int value)
{
    m_pUi->m_pTimeLabel->setText(TimeText(m_pPlayer->TimeAt(value)));
}

void CReplayBar::OnSeekSliderValueChanged(int value)
{
    // A drag goes to its place once, when the slider is let go; keys and
    // clicks beside the handle go at once.
    if (!m_pUi->m_pSeekSlider->isSliderDown())
        m_pPlayer->Seek(value);
}

void CReplayBar::OnSeekSliderReleased()
{
    m_pPlayer->Seek(m_pUi->m_pSeekSlider->value());
}

void CReplayBar::OnPlayerPositionChanged(qint64 seconds)
{
    QSlider* slider = m_pUi->m_pSeekSlider;
    if (!slider->isSliderDown()) {
        const QSignalBlocker blocker(slider);
        slider->setValue(int(seconds));
        m_pUi->m_pTimeLabel->setText(TimeText(m_pPlayer->TimeAt(seconds)));
    }
}

void CReplayBar::ShowTexts()
{
    m_pUi->m_pNameLabel->setText(tr("Replay: %1").arg(m_strName));
    m_pUi->m_pPlayButton->setText(m_pPlayer->IsPlaying() ? tr("Pause") : tr("Play"));
}

void CReplayBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_pUi) {
        m_pUi->retranslateUi(this);
        ShowTexts();
        OnPlayerPositionChanged(m_pPlayer->Position());
        Q_EMIT languageChanged();
    }
    QFrame::changeEvent(event);
}
