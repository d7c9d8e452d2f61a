#include "alerts/CAlertTrayIcon.h"

#include "app/CClientResources.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace {

const int ICON_SIZES[] = { 16, 22, 24, 32, 48, 64 };

// Told apart by their hue and by their lightness, for eyes that see fewer
// hues.
QColor ColourOf(CAlertTrayIcon::Level level)
{
    switch (level) {
    case CAlertTrayIcon::Quiet: return QColor(40, 160, 60);
    case CAlertTrayIcon::Offline: return QColor(140, 140, 140);
    case CAlertTrayIcon::Alarm: return QColor(245, 165, 0);
    case CAlertTrayIcon::Alerting: return QColor(215, 25, 25);
    }
    return QColor();
}

} // namespace

CAlertTrayIcon::CAlertTrayIcon(QObject* parent)
    : QObject(parent)
    , m_pMenu(std::make_unique<QMenu>())
    , m_pTray(new QSystemTrayIcon(this))
{
    m_pOverviewAction = m_pMenu->addAction(QString(), this, &CAlertTrayIcon::overviewRequested);
    m_pAlertsAction = m_pMenu->addAction(QString(), this, &CAlertTrayIcon::alertsRequested);
    m_pAcknowledgeAllAction = m_pMenu->addAction(QString(), this, &CAlertTrayIcon::acknowledgeAllRequested);
    m_pMenu->addSeparator();
    m_pMuteAction = m_pMenu->addAction(QString());
    m_pMuteAction->setCheckable(true);
    connect(m_pMuteAction, &QAction::toggled, this, &CAlertTrayIcon::muteToggled);
    m_pMenu->installEventFilter(this);
    m_pTray->setContextMenu(m_pMenu.get());
    connect(m_pTray, &QSystemTrayIcon::activated, this, &CAlertTrayIcon::OnTrayActivated);
    Retranslate();
    m_pTray->setIcon(IconFor(m_level));
}

CAlertTrayIcon::~CAlertTrayIcon()
{
    // The tray must not keep a menu that goes first.
    m_pTray->setContextMenu(nullptr);
}

void CAlertTrayIcon::SetLevel(Level level)
{
    if (level == m_level)
        return;
    m_level = level;
    m_pTray->setIcon(IconFor(level));
    m_pTray->setToolTip(ToolTipFor(level));
}

void CAlertTrayIcon::SetMuted(bool muted)
{
    const QSignalBlocker blocker(m_pMuteAction);
    m_pMuteAction->setChecked(muted);
}

bool CAlertTrayIcon::IsMuted() const
{
    return m_pMuteAction->isChecked();
}

bool CAlertTrayIcon::Show()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_pTray->show();
    return true;
}

QIcon CAlertTrayIcon::IconFor(Level level)
{
    QIcon icon;
    for (int size : ICON_SIZES)
        icon.addPixmap(PixmapFor(level, size));
    return icon;
}

QPixmap CAlertTrayIcon::PixmapFor(Level level, int size)
{
    CClientResources::Init();
    const QIcon program(QStringLiteral(":/CMainWindow/OndrixClient.ico"));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Without the program's icon the badge alone fills the square.
    QRectF badge(0.5, 0.5, size - 1.0, size - 1.0);
    if (!program.isNull()) {
        painter.drawPixmap(0, 0, program.pixmap(size, size));
        const double side = size * 0.6;
        badge = QRectF(size - side + 0.5, size - side + 0.5, side - 1.0, side - 1.0);
    }
    // A dark rim sets the badge apart from light and dark panels alike.
    painter.setPen(QPen(QColor(0, 0, 0, 160), std::max(1.0, size / 32.0)));
    painter.setBrush(ColourOf(level));
    painter.drawEllipse(badge);
    return pixmap;
}

QString CAlertTrayIcon::ToolTipFor(Level level)
{
    switch (level) {
    case Quiet: return tr("Ondrix: all detectors quiet");
    case Offline: return tr("Ondrix: a detector cannot be reached");
    case Alarm: return tr("Ondrix: a band is in alarm");
    case Alerting: return tr("Ondrix: an alert is not acknowledged");
    }
    return QString();
}

bool CAlertTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pMenu.get() && event->type() == QEvent::LanguageChange)
        Retranslate();
    return QObject::eventFilter(watched, event);
}

void CAlertTrayIcon::OnTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        Q_EMIT alertsRequested();
}

void CAlertTrayIcon::Retranslate()
{
    m_pOverviewAction->setText(tr("Show Overview"));
    m_pAlertsAction->setText(tr("Show Alerts"));
    m_pAcknowledgeAllAction->setText(tr("Acknowledge All"));
    m_pMuteAction->setText(tr("Mute Sound"));
    m_pTray->setToolTip(ToolTipFor(m_level));
}
