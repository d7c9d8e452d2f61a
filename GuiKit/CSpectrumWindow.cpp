#include "CSpectrumWindow.h"

#include "CLabel.h"
#include "CQDiagramWidget.h"

#include <QCloseEvent>
#include <QSettings>

#include <algorithm>

namespace {
const int LABEL_FONT_PIXELS = 10;
}

CSpectrumWindow::CSpectrumWindow(QWidget* parent)
    : QWidget(parent)
    , m_pSpectrumWidget(new CQDiagramWidget(this))
    , m_pGraphLabel(new CLabel(this))
{
    setObjectName(QStringLiteral("CSpectrumWindow"));
    resize(584, 214);
    setMouseTracking(true);
    setWindowTitle(tr("Spectrum"));
    m_pSpectrumWidget->setGeometry(485, 15, 41, 51);
    m_pSpectrumWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pSpectrumWidget->setObjectName(QStringLiteral("SpectrumWidget"));
    m_pGraphLabel->setObjectName(QStringLiteral("GraphLabel"));
    m_pGraphLabel->setGeometry(5, 5, 500, 180);
    m_pGraphLabel->setFrameShape(QFrame::StyledPanel);
    m_pXMINLabel = AddLabel(QStringLiteral("XMINLabel"), QRect(5, 187, 60, 20));
    m_pXMAXLabel = AddLabel(QStringLiteral("XMAXLabel"), QRect(445, 187, 60, 20));
    m_pYMINLabel = AddLabel(QStringLiteral("YMINLabel"), QRect(510, 165, 55, 20));
    m_pYMIDLabel = AddLabel(QStringLiteral("YMIDLabel"), QRect(510, 85, 55, 20));
    m_pYMAXLabel = AddLabel(QStringLiteral("YMAXLabel"), QRect(510, 5, 55, 20));
    m_pFREQLabel = AddLabel(QStringLiteral("FREQLabel"), QRect(145, 187, 235, 20));
    setGeometry(110, 110, 565, 210);
    m_pSpectrumWidget->hide();
}

QLabel* CSpectrumWindow::AddLabel(const QString& name, const QRect& geometry)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFrameShape(QFrame::StyledPanel);
    // The boxes have the detector software's fixed sizes; a desktop font
    // of the usual size would cut "2400 MHz" and the signal line short.
    QFont font = label->font();
    font.setPixelSize(LABEL_FONT_PIXELS);
    label->setFont(font);
    return label;
}

void CSpectrumWindow::SetSpectrumData(const unsigned char* data, int count, int xMin, int xMax, int signalFreq,
    int yMin, int signalLevel, int noiseLevel, int signalNo)
{
    const int points = data == nullptr ? 0 : std::clamp(count, 0, int(CLabel::BAR_COUNT));
    m_pXMINLabel->setText(tr("%1 MHz").arg(xMin));
    m_pXMAXLabel->setText(tr("%1 MHz").arg(xMax));
    if (yMin == SEARCH_MODE_MARKER) {
        m_pFREQLabel->setText(tr("SEARCH MODE"));
        for (int j = 0; j < points; ++j)
            m_pGraphLabel->SetValue(j, 0);
    } else {
        SetLevels(yMin);
        SetSignal(signalFreq, signalLevel, noiseLevel, signalNo);
        for (int j = 0; j < points; ++j)
            m_pGraphLabel->SetValue(j, data[j]);
    }
    m_pGraphLabel->update();
}

void CSpectrumWindow::SetLevels(int yMin)
{
    m_pYMINLabel->setText(tr("%1 dBm").arg(yMin));
    m_pYMIDLabel->setText(tr("%1 dBm").arg(yMin + 30));
    m_pYMAXLabel->setText(tr("%1 dBm").arg(yMin + 60));
}

void CSpectrumWindow::SetSignal(int signalFreq, int signalLevel, int noiseLevel, int signalNo)
{
    if (signalFreq == 0) {
        m_pFREQLabel->clear();
        return;
    }
    m_pFREQLabel->setText(tr("Signal%4: %1 MHz %2 dBm    Noise: %3 dBm")
                              .arg(signalFreq)
                              .arg(signalLevel)
                              .arg(noiseLevel)
                              .arg(signalNo));
}

void CSpectrumWindow::ClearTexts()
{
    for (QLabel* label : { m_pXMINLabel, m_pXMAXLabel, m_pYMINLabel, m_pYMIDLabel, m_pYMAXLabel, m_pFREQLabel })
        label->clear();
}

void CSpectrumWindow::closeEvent(QCloseEvent* event)
{
    QSettings().setValue(QStringLiteral("Spectrum/Geometry"), geometry());
    Q_EMIT closed();
    QWidget::closeEvent(event);
}

void CSpectrumWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Spectrum"));
        ClearTexts();
        return;
    }
    QWidget::changeEvent(event);
}
