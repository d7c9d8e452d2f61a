#pragma once

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QSystemTrayIcon>

#include <memory>

class QAction;
class QMenu;

// The client's icon in the desktop's tray, coloured by the worst state of
// the detectors watched, with a menu of what a person does about alerts.
// Where the desktop has no tray it is simply never shown; its signals and
// its icon work alike.
class CAlertTrayIcon : public QObject
{
    Q_OBJECT

public:
    // Worst last.
    enum Level { Quiet, Offline, Alarm, Alerting };
    Q_ENUM(Level)

    explicit CAlertTrayIcon(QObject* parent = nullptr);
    ~CAlertTrayIcon() override;

    void SetLevel(Level level);
    Level CurrentLevel() const { return m_level; }
    // Follows the sound's state as set elsewhere; muteToggled is not sent.
    void SetMuted(bool muted);
    bool IsMuted() const;
    // False where the desktop has no tray to show it in.
    bool Show();
    // For CDesktopNotifier::SetTray.
    QSystemTrayIcon* Tray() const { return m_pTray; }
    QMenu* Menu() const { return m_pMenu.get(); }

    // The client's icon with a badge of the level's colour.
    static QIcon IconFor(Level level);
    static QPixmap PixmapFor(Level level, int size);
    static QString ToolTipFor(Level level);

Q_SIGNALS:
    void overviewRequested();
    void alertsRequested();
    void acknowledgeAllRequested();
    void muteToggled(bool muted);

protected:
    // The menu is a window of its own, so it is what hears of a change of
    // language.
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);

private:
    void Retranslate();

    std::unique_ptr<QMenu> m_pMenu;
    QSystemTrayIcon* m_pTray;
    QAction* m_pOverviewAction;
    QAction* m_pAlertsAction;
    QAction* m_pAcknowledgeAllAction;
    QAction* m_pMuteAction;
    Level m_level = Quiet;
};
