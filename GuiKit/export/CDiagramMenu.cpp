#include "export/CDiagramMenu.h"
#include "GuiKitSettingsKeys.h"

#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramExport.h"
#include "export/CImageExportDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString DefaultName(const QWidget* picture)
{
    QString name = picture->objectName();
    name.remove(QLatin1String("m_p"));
    return name.isEmpty() ? QStringLiteral("diagram") : name;
}

} // namespace

CDiagramMenu::CDiagramMenu(QWidget* widget, QWidget* picture)
    : QObject(widget)
    , m_pWidget(widget)
    , m_pPicture(picture)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this, &CDiagramMenu::OnContextMenu);
}

CDiagramMenu* CDiagramMenu::Attach(QWidget* widget, QWidget* picture)
{
    return widget ? new CDiagramMenu(widget, picture ? picture : widget) : nullptr;
}

bool CDiagramMenu::OffersMenuAt(QWidget* widget, const QPoint& pos)
{
    auto* diagram = qobject_cast<CQDiagramWidget*>(widget);
    if (!diagram)
        return true;
    const QPoint global = diagram->mapToGlobal(pos);
    return diagram->IsPlotArea(global) && !diagram->IsAxisXArea(global) && !diagram->IsAxisYArea(global);
}

void CDiagramMenu::OnContextMenu(const QPoint& pos)
{
    if (!m_pPicture || !OffersMenuAt(m_pWidget, pos))
        return;
    QMenu menu(m_pWidget);
    AddExportAction(&menu, m_pPicture);
    menu.exec(m_pWidget->mapToGlobal(pos));
}

QAction* CDiagramMenu::AddExportAction(QMenu* menu, QWidget* picture)
{
    QAction* action = menu->addAction(tr("Export Image..."));
    action->setObjectName(QLatin1String(ACTION_NAME));
    const QPointer<QWidget> target(picture);
    connect(action, &QAction::triggered, menu, [target] {
        if (target)
            Export(target, target->window());
    });
    return action;
}

bool CDiagramMenu::Export(QWidget* picture, QWidget* parent)
{
    QSettings settings;
    QString folder = settings.value(QLatin1String(GuiKitSettingsKeys::DIAGRAM_EXPORT_FOLDER)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const auto format = CDiagramExport::Format(
        settings.value(QLatin1String(GuiKitSettingsKeys::DIAGRAM_EXPORT_FORMAT), int(CDiagramExport::Png)).toInt());
    const QString name = DefaultName(picture) + QLatin1Char('.') + CDiagramExport::Suffix(format);
    CImageExportDialog dialog(picture->size(), QDir(folder).filePath(name), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QString error;
    if (!CDiagramExport::Save(picture, dialog.Path(), dialog.Format(), dialog.Size(), error)) {
        QMessageBox::warning(parent, QCoreApplication::applicationName(), error);
        return false;
    }
    settings.setValue(QLatin1String(GuiKitSettingsKeys::DIAGRAM_EXPORT_FOLDER),
        QFileInfo(dialog.Path()).absolutePath());
    settings.setValue(QLatin1String(GuiKitSettingsKeys::DIAGRAM_EXPORT_FORMAT), int(dialog.Format()));
    return true;
}
