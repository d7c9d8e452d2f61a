#include "mainwindow/COtherWindows.h"

#include <QApplication>
#include <QWidget>

void COtherWindows::Close(const QWidget* mainWindow)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window == mainWindow || !window->isVisible())
            continue;
        window->close();
        window->hide();
    }
}
