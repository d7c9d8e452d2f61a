// Opens the diagram widget with generated detector data in one of its
// kinds, or the spectrum or oscilloscope window, for looking at it by eye:
//   diagramdemo [--kind lines|rects|levels|freq|spectrum|scope|
//                spectrumwindow|scopewindow] [--values N] [--all] [--live]
//               [--size WxH] [--cursor X,Y] [--screenshot FILE]
#include "CDemoData.h"
#include "diagram/CQDiagramWidget.h"
#include "oscilloscope/COscilloscopeWindow.h"
#include "spectrum/CSpectrumWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QDateTime>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <vector>

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
    parser.addOption({ QStringLiteral("kind"),
        QStringLiteral("lines, rects, levels, freq, spectrum, scope, spectrumwindow or scopewindow."),
        QStringLiteral("kind"), options.kind });
    parser.addOption({ QStringLiteral("values"), QStringLiteral("Values (events for rects) to generate."),
        QStringLiteral("count"), QString::number(options.values) });
    parser.addOption(
        { QStringLiteral("all"), QStringLiteral("Show the whole history instead of the last ten minutes.") });
    parser.addOption(
        { QStringLiteral("live"), QStringLiteral("Keep appending a value per tick, as a detector would.") });
    parser.addOption(
        { QStringLiteral("size"), QStringLiteral("Widget size."), QStringLiteral("WxH"), QStringLiteral("1000x400") });
    parser.addOption({ QStringLiteral("cursor"), QStringLiteral("Mouse position in the widget for the screenshot."),
        QStringLiteral("X,Y") });
    parser.addOption(
        { QStringLiteral("screenshot"), QStringLiteral("Save the widget as a PNG and quit."), QStringLiteral("file") });
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
    const QStringList kinds { "lines", "rects", "levels", "freq", "spectrum", "scope", "spectrumwindow",
        "scopewindow" };
    if (!kinds.contains(options.kind)) {
        std::fprintf(stderr, "diagramdemo: --kind is one of %s\n", qPrintable(kinds.join(QStringLiteral(", "))));
        return false;
    }
    if (!options.size.isValid() || options.size.width() > 8000 || options.size.height() > 8000) {
        std::fprintf(stderr, "diagramdemo: --size wants WxH, each up to 8000\n");
        return false;
    }
    return true;
}

// A scan band spectrum: noise with two carriers, a level from 0 to 60.
int SpectrumLevel(int point, int tick)
{
    const int noise = (point * 37 + tick * 11) % 7;
    const int carrier
        = std::max(0, 50 - 3 * std::abs(point - 40)) + std::max(0, 30 - 4 * std::abs(point - 110 - tick % 5));
    return std::min(60, 5 + noise + carrier);
}

void FillOther(CQDiagramWidget& widget, const OPTIONS& options)
{
    if (options.kind == QLatin1String("scope")) {
        widget.SetDiagramType(0, DIAGRAM_OSCILLOSCOPE);
        widget.SetAxisXType(DIAGRAM_OSCILLOSCOPE);
        widget.SetMaxYRange(0.0, 255.0, 0.1);
        widget.SetMaxXRange(0.0, double(options.values), 0.0065156482861401, true);
        widget.AddLine(0, QStringLiteral("Oscilloscope"), QPen(Qt::cyan), 0, true);
        widget.AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 1, true);
        QList<double> samples;
        for (int i = 0; i < options.values; ++i)
            samples.append(128 + 100 * std::sin(i * 0.01) * std::exp(-i * 2.0 / options.values) + (i * 13) % 9);
        widget.AddValues(0, 0, samples);
        widget.AddValues(0, 1, { 200.0 });
        return;
    }
    widget.SetDiagramType(0, options.kind == QLatin1String("freq") ? DIAGRAM_FREQ : DIAGRAM_SPECTRUM);
    widget.SetAxisXType(DIAGRAM_SPECTRUM);
    widget.SetMaxYRange(0.0, 60.0, 1.0);
    widget.SetMaxXRange(2400.0, 2483.0, 1.0, true);
    widget.AddLine(0, QStringLiteral("Spectrum"), QPen(Qt::green), 0, true);
    widget.AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 1, true);
    QList<double> levels;
    for (int p = 0; p < 160; ++p)
        levels.append(SpectrumLevel(p, 0));
    widget.AddValues(0, 0, levels);
    widget.AddValues(0, 1, { 30.0 });
}

void Fill(CQDiagramWidget& widget, const OPTIONS& options, quint64 now)
{
    if (options.kind == QLatin1String("freq") || options.kind == QLatin1String("spectrum")
        || options.kind == QLatin1String("scope"))
        FillOther(widget, options);
    else if (options.kind == QLatin1String("rects"))
        CDemoData::FillRects(widget, options.values, now);
    else if (options.kind == QLatin1String("levels"))
        CDemoData::FillLevelRects(widget, options.values, now);
    else
        CDemoData::FillLines(widget, options.values, now);
    if (options.all)
        CDemoData::ShowAll(widget);
}

bool Screenshot(QWidget& window, const QString& file)
{
    QApplication::processEvents();
    const bool saved = window.grab().save(file);
    if (!saved)
        std::fprintf(stderr, "diagramdemo: cannot write %s\n", qPrintable(file));
    return saved;
}

// The spectrum window refreshed 40 times a second, as the device GUI does.
int RunSpectrumWindow(const OPTIONS& options)
{
    CSpectrumWindow window;
    int tick = 0;
    const auto refresh = [&window, &tick]() {
        std::vector<unsigned char> data(160);
        for (int p = 0; p < 160; ++p)
            data[size_t(p)] = (unsigned char)SpectrumLevel(p, tick);
        window.SetSpectrumData(data.data(), 160, 2400, 2483, 2415, -100, -47, -93, 1 + tick / 40 % 3);
        ++tick;
    };
    refresh();
    window.show();
    if (!options.screenshot.isEmpty())
        return Screenshot(window, options.screenshot) ? 0 : 1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &window, refresh);
    timer.start(25);
    return QApplication::exec();
}

// The oscilloscope window fed a decaying burst per block.
int RunScopeWindow(const OPTIONS& options)
{
    COscilloscopeWindow window;
    const int count = std::min(options.values, 100000);
    window.SetXRange(0.0, count);
    window.SetYRange(0.0, 255.0);
    int tick = 0;
    const auto refresh = [&window, &tick, count]() {
        std::vector<unsigned char> data(size_t(count), 0);
        for (int i = 0; i < count; ++i)
            data[size_t(i)] = (unsigned char)(128 + 110 * std::sin(i * 0.02 + tick * 0.3) * std::exp(-i * 3.0 / count));
        window.SetOscData(data.data(), count, 3);
        ++tick;
    };
    refresh();
    window.show();
    if (!options.screenshot.isEmpty())
        return Screenshot(window, options.screenshot) ? 0 : 1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &window, refresh);
    timer.start(100);
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    OPTIONS options;
    if (!ParseOptions(app, options))
        return 2;
    if (options.kind == QLatin1String("spectrumwindow"))
        return RunSpectrumWindow(options);
    if (options.kind == QLatin1String("scopewindow"))
        return RunScopeWindow(options);

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
