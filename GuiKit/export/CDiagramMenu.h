#pragma once

#include "GuiKitExport.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// The context menu that exports a diagram's picture: its entry "Export
// Image..." asks for the file, the format and the size (CImageExportDialog)
// and writes the picture (CDiagramExport). The settings keep the folder and
// the format last used.
class GUIKIT_EXPORT CDiagramMenu : public QObject
{
    Q_OBJECT

public:
    // The action's object name, for whoever looks for it in a menu.
    static constexpr const char* ACTION_NAME = "ExportImageAction";

    // Gives widget that menu, for the picture of picture (widget itself by
    // default). A CQDiagramWidget offers it over its plots only: its axes
    // have menus of their own. The helper is a child of widget.
    static CDiagramMenu* Attach(QWidget* widget, QWidget* picture = nullptr);
    // The entry for a menu of one's own.
    static QAction* AddExportAction(QMenu* menu, QWidget* picture);
    // Asks, then writes; false when cancelled or failed (the user is told
    // why it failed).
    static bool Export(QWidget* picture, QWidget* parent);
    // Whether widget's context menu at pos (its own coordinates) is this one.
    static bool OffersMenuAt(QWidget* widget, const QPoint& pos);

    void OnContextMenu(const QPoint& pos);

private:
    CDiagramMenu(QWidget* widget, QWidget* picture);

    QWidget* m_pWidget;
    QPointer<QWidget> m_pPicture;
};
