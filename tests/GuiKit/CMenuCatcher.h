#pragma once

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Records the popup menu that the next call opens (menus run their own
// event loop), optionally triggers one of its entries or of its submenus'
// entries, and closes it.
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
    QList<bool> checked;
    // The entries of its submenus.
    QStringList subNames;

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
            checked.append(action->isChecked());
        }
        Trigger(menu);
        if (menu != nullptr)
            menu->close();
    }

    void Trigger(QMenu* menu)
    {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                for (QAction* sub : action->menu()->actions())
                    subNames.append(sub->objectName());
                Trigger(action->menu());
            }
            if (action->objectName() == m_strTrigger)
                action->trigger();
        }
    }

    QString m_strTrigger;
    QTimer m_timer;
};
