#include "export/CDiagramExport.h"

#include <QCoreApplication>
#include <QLayout>
#include <QPainter>
#include <QResizeEvent>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace {

const char* const EXPORTING_PROPERTY = "_ondrix_exporting";

QString Tr(const char* text)
{
    return QCoreApplication::translate("CDiagramExport", text);
}

// For its lifetime: the widget flagged as being exported and, when it lies
// inside a window, laid out at the picture's size.
class CExportScope
{
public:
    CExportScope(QWidget* widget, const QSize& size)
        : m_pWidget(widget)
        , m_oldSize(widget->size())
    {
        m_pWidget->setProperty(EXPORTING_PROPERTY, true);
        if (!m_pWidget->isWindow() && size != m_oldSize) {
            Resize(size);
            m_bResized = true;
        }
    }

    ~CExportScope()
    {
        if (m_bResized)
            Resize(m_oldSize);
        m_pWidget->setProperty(EXPORTING_PROPERTY, QVariant());
    }

    CExportScope(const CExportScope&) = delete;
    CExportScope& operator=(const CExportScope&) = delete;

private:
    void Resize(const QSize& size)
    {
        const QSize before = m_pWidget->size();
        m_pWidget->resize(size);
        // A widget not shown yet hears of its size only when it shows.
        if (m_pWidget->testAttribute(Qt::WA_PendingResizeEvent)) {
            m_pWidget->setAttribute(Qt::WA_PendingResizeEvent, false);
            QResizeEvent event(size, before);
            QCoreApplication::sendEvent(m_pWidget, &event);
        }
        if (QLayout* layout = m_pWidget->layout())
            layout->activate();
    }

    QWidget* m_pWidget;
    QSize m_oldSize;
    bool m_bResized = false;
};

} // namespace

QSize CDiagramExport::PictureSize(const QWidget* widget, const QSize& size)
{
    if (size.isEmpty() || size.width() > MAX_SIDE || size.height() > MAX_SIDE)
        return widget->size();
    return size;
}

bool CDiagramExport::IsExporting(const QWidget* widget)
{
    // A widget inside the one exported is part of its picture.
    for (const QWidget* part = widget; part != nullptr; part = part->parentWidget()) {
        if (part->property(EXPORTING_PROPERTY).toBool())
            return true;
    }
    return false;
}

void CDiagramExport::Paint(QWidget* widget, QPainter& painter, const QSize& size)
{
    const CExportScope scope(widget, size);
    const QSize laidOut = widget->size();
    painter.save();
    if (laidOut != size && !laidOut.isEmpty())
        painter.scale(double(size.width()) / laidOut.width(), double(size.height()) / laidOut.height());
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
}

QImage CDiagramExport::ToImage(QWidget* widget, const QSize& size)
{
    const QSize target = PictureSize(widget, size);
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Paint(widget, painter, target);
    return image;
}

QPicture CDiagramExport::ToPicture(QWidget* widget, const QSize& size)
{
    const QSize target = PictureSize(widget, size);
    QPicture picture;
    QPainter painter(&picture);
    Paint(widget, painter, target);
    painter.end();
    picture.setBoundingRect(QRect(QPoint(), target));
    return picture;
}

bool CDiagramExport::Save(QWidget* widget, const QString& path, Format format, const QSize& size, QString& error)
{
    // A file of another size than asked for is no success.
    if (!size.isEmpty() && PictureSize(widget, size) != size) {
        error = Tr("A picture can be at most %1 × %1 pixels.").arg(MAX_SIDE);
        return false;
    }
    if (widget->size().isEmpty() && size.isEmpty()) {
        error = Tr("The diagram has no size on screen: choose a size for the picture.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = Tr("The file cannot be written: %1").arg(file.errorString());
        return false;
    }
    const QSize target = PictureSize(widget, size);
    bool drawn = true;
    if (format == Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(target);
        generator.setViewBox(QRect(QPoint(), target));
        // Texts keep the size they have on screen.
        generator.setResolution(widget->logicalDpiY());
        generator.setTitle(widget->windowTitle());
        QPainter painter;
        drawn = painter.begin(&generator);
        if (drawn)
            Paint(widget, painter, target);
    } else {
        const QImage image = ToImage(widget, target);
        if (image.isNull()) {
            error = Tr("There is not enough memory for a picture of %1 × %2 pixels.")
                        .arg(target.width())
                        .arg(target.height());
            file.cancelWriting();
            return false;
        }
        drawn = image.save(&file, "PNG");
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        error = Tr("The picture cannot be written: %1").arg(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = Tr("The file cannot be written: %1").arg(file.errorString());
        return false;
    }
    return true;
}

CDiagramExport::Format CDiagramExport::FormatOf(const QString& path)
{
    return path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive) ? Svg : Png;
}

QString CDiagramExport::Suffix(Format format)
{
    return format == Svg ? QStringLiteral("svg") : QStringLiteral("png");
}
