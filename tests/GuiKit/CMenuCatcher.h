#pragma once

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Records the popup menu that the next call opens (menus run their own
// event loop), optionally triggers one of its entries, and closes it.
class CMenuCatcher : public QObject
{
public:
    explicit CMenuCatcher(const QString& trigger = QString())
        : m_strTrigger(trigger)
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this]() { Inspect(); });
        m_timer.start();
    }

    bool shown = false;
    QStringList texts;
    QStringList names;

private:
    void Inspect()
    {
        QPointer<QMenu> menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        m_timer.stop();
        shown = true;
        for (QAction* action : menu->actions()) {
            texts.append(action->text());
            names.append(action->objectName());
        }
        for (QAction* action : menu->actions()) {
            if (action->objectName() == m_strTrigger)
                action->trigger();
        }
        if (menu != nullptr)
            menu->close();
    }

    QString m_strTrigger;
    QTimer m_timer;
};
