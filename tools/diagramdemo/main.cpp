// Opens the diagram widget with generated detector data in one of the time
// kinds, for looking at it by eye:
//   diagramdemo [--kind lines|rects|levels] [--values N] [--all] [--live]
//               [--size WxH] [--cursor X,Y] [--screenshot FILE]
#include "CDemoData.h"
#include "CQDiagramWidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

namespace {

struct OPTIONS
{
    QString kind = QStringLiteral("lines");
    int values = 7200;
    bool all = false;
    bool live = false;
    QSize size { 1000, 400 };
    QString screenshot;
    QPoint cursor { -1, -1 };
};

bool ParseOptions(const QApplication& app, OPTIONS& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The diagram widget with generated detector data."));
    parser.addHelpOption();
    parser.addOption({ QStringLiteral("kind"), QStringLiteral("lines, rects or levels."), QStringLiteral("kind"), options.kind });
    parser.addOption({ QStringLiteral("values"), QStringLiteral("Values (events for rects) to generate."), QStringLiteral("count"),
        QString::number(options.values) });
    parser.addOption({ QStringLiteral("all"), QStringLiteral("Show the whole history instead of the last ten minutes.") });
    parser.addOption({ QStringLiteral("live"), QStringLiteral("Keep appending a value per tick, as a detector would.") });
    parser.addOption({ QStringLiteral("size"), QStringLiteral("Widget size."), QStringLiteral("WxH"), QStringLiteral("1000x400") });
    parser.addOption({ QStringLiteral("cursor"), QStringLiteral("Mouse position in the widget for the screenshot."), QStringLiteral("X,Y") });
    parser.addOption({ QStringLiteral("screenshot"), QStringLiteral("Save the widget as a PNG and quit."), QStringLiteral("file") });
    parser.process(app);

    options.kind = parser.value(QStringLiteral("kind"));
    bool ok = false;
    options.values = parser.value(QStringLiteral("values")).toInt(&ok);
    const QStringList size = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));
    if (size.size() == 2)
        options.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    options.all = parser.isSet(QStringLiteral("all"));
    options.live = parser.isSet(QStringLiteral("live"));
    options.screenshot = parser.value(QStringLiteral("screenshot"));
    const QStringList cursor = parser.value(QStringLiteral("cursor")).split(QLatin1Char(','));
    if (cursor.size() == 2)
        options.cursor = QPoint(cursor.at(0).toInt(), cursor.at(1).toInt());
    if (!ok || options.values < 1 || options.values > 50000000) {
        std::fprintf(stderr, "diagramdemo: --values wants a count from 1 to 50000000\n");
        return false;
    }
    if (options.kind != QLatin1String("lines") && options.kind != QLatin1String("rects") && options.kind != QLatin1String("levels")) {
        std::fprintf(stderr, "diagramdemo: --kind is lines, rects or levels\n");
        return false;
    }
    if (!options.size.isValid() || options.size.width() > 8000 || options.size.height() > 8000) {
        std::fprintf(stderr, "diagramdemo: --size wants WxH, each up to 8000\n");
        return false;
    }
    return true;
}

void Fill(CQDiagramWidget& widget, const OPTIONS& options, quint64 now)
{
    if (options.kind == QLatin1String("rects"))
        CDemoData::FillRects(widget, options.values, now);
    else if (options.kind == QLatin1String("levels"))
        CDemoData::FillLevelRects(widget, options.values, now);
    else
        CDemoData::FillLines(widget, options.values, now);
    if (options.all)
        CDemoData::ShowAll(widget);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    OPTIONS options;
    if (!ParseOptions(app, options))
        return 2;

    CQDiagramWidget widget;
    widget.setWindowTitle(QStringLiteral("diagramdemo: %1").arg(options.kind));
    // The program's style sheet gives the diagrams a dark ground; this stands in.
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(24, 32, 40));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    widget.resize(options.size);

    const quint64 now = quint64(QDateTime::currentSecsSinceEpoch());
    Fill(widget, options, now);
    widget.show();
    widget.update();

    if (!options.screenshot.isEmpty()) {
        // The crosshair and the status box follow the mouse.
        QCursor::setPos(options.cursor.x() >= 0 ? widget.mapToGlobal(options.cursor) : QPoint(-10000, -10000));
        QApplication::processEvents();
        const bool saved = widget.grab().save(options.screenshot);
        if (!saved)
            std::fprintf(stderr, "diagramdemo: cannot write %s\n", qPrintable(options.screenshot));
        return saved ? 0 : 1;
    }

    // As the program does: repaint every 25 ms, appending live values first.
    int next = options.values;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &widget, [&]() {
        if (options.live && options.kind == QLatin1String("lines")) {
            const QVariant t = QVariant::fromValue<quint64>(now + quint64(next - options.values));
            widget.AddValue(0, 0, t, CDemoData::Level(next), 1);
            widget.AddValue(0, 1, t, CDemoData::Threshold(next), 1);
            ++next;
        }
        widget.update();
    });
    timer.start(25);
    return app.exec();
}
