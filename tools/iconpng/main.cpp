// Renders the application icon's SVG into the PNG sizes of the icon theme at
// build time, so that no binary picture is kept beside its drawing:
//   iconpng ICON.svg NAME OUTDIR SIZE...   writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool Render(QSvgRenderer& renderer, int size, const QString& path)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: iconpng ICON.svg NAME OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "iconpng: %s is not a drawing it can read\n", qPrintable(arguments.at(1)));
        return 1;
    }
    const QString& name = arguments.at(2);
    for (const QString& text : arguments.mid(4)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "iconpng: '%s' is not a size from 1 to 1024\n", qPrintable(text));
            return 2;
        }
        const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(arguments.at(3)).arg(size).arg(name);
        if (!Render(renderer, size, path)) {
            std::fprintf(stderr, "iconpng: %s cannot be written\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
