#include "CDemoData.h"

#include "diagram/CQDiagramWidget.h"

#include <QPen>

#include <cmath>

namespace {

const int WINDOW_SECONDS = 600;

struct BAND
{
    const char* name;
    Qt::GlobalColor color;
};

const BAND BANDS[CDemoData::BAND_LINES] = {
    { "CDMA", Qt::darkBlue },
    { "G900", Qt::blue },
    { "G1800", Qt::darkGreen },
    { "DECT", Qt::green },
    { "3G-2100", Qt::darkCyan },
    { "3G-900", Qt::black },
    { "3G-SMS", Qt::black },
    { "WLAN2.4", Qt::darkGray },
    { "WLAN5", Qt::magenta },
    { "BT", Qt::gray },
    { "TRAF2.4", Qt::darkMagenta },
    { "TRAF5", Qt::darkRed },
    { "4G (LTE)", Qt::cyan },
    { "4G-800", Qt::black },
    { "4G-800", Qt::black },
    { "4G-800", Qt::black },
    { "JAM GSM", Qt::red },
    { "JAM GPS", Qt::darkYellow },
    { "SCAN", Qt::yellow },
};

// A cheap repeatable hash, so every run draws the same picture.
quint32 Noise(quint32 i)
{
    i ^= i >> 16;
    i *= 0x7feb352dU;
    i ^= i >> 15;
    i *= 0x846ca68bU;
    i ^= i >> 16;
    return i;
}

void StartTimeDiagram(CQDiagramWidget& widget, DiagramType type, quint64 start)
{
    widget.SetDiagramType(0, type);
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    widget.SetMaxXRange(QVariant::fromValue<quint64>(start), QVariant::fromValue<quint64>(start + WINDOW_SECONDS), 1.0,
        true);
}

} // namespace

double CDemoData::Level(int i)
{
    const double floor = -88.0 + 6.0 * std::sin(i / 97.0) + (Noise(quint32(i)) % 50) / 10.0;
    // A burst of a few seconds now and then, and single-second spikes.
    if (i % 373 < 4)
        return -45.0 + (Noise(quint32(i) * 7u) % 100) / 10.0;
    if (Noise(quint32(i) * 13u) % 211 == 0)
        return -30.0;
    return floor;
}

double CDemoData::Threshold(int i)
{
    return (i / 900) % 2 == 0 ? -60.0 : -55.0;
}

void CDemoData::FillLines(CQDiagramWidget& widget, int count, quint64 end)
{
    widget.Clear(false);
    widget.SetSingleDiagramArea();
    widget.AddLine(0, QStringLiteral("Level"), QPen(Qt::blue), 0, true);
    widget.AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 0, true);
    const quint64 start = end - quint64(count);
    StartTimeDiagram(widget, DIAGRAM_TIME_LINES, start);
    widget.SetAxisYWidth(30);
    for (int i = 0; i < count; ++i) {
        const QVariant t = QVariant::fromValue<quint64>(start + quint64(i));
        widget.AddValue(0, 0, t, Level(i), 1);
        widget.AddValue(0, 1, t, Threshold(i), 1);
    }
}

void CDemoData::FillRects(CQDiagramWidget& widget, int count, quint64 end)
{
    widget.Clear(false);
    widget.SetSingleDiagramArea();
    for (const BAND& band : BANDS)
        widget.AddLine(0, QString::fromLatin1(band.name), QPen(band.color), 0, true);
    StartTimeDiagram(widget, DIAGRAM_TIME_RECTS, end - quint64(count));
    widget.SetMaxXRange(QVariant::fromValue<quint64>(end - quint64(count)), QVariant::fromValue<quint64>(end), 1.0,
        true);
    widget.SetAxisYWidth(50);
    // Events one second apart on average, spread over the rows; most last
    // a second (one record each), some run for minutes.
    for (int i = 0; i < count; ++i) {
        const quint32 hash = Noise(quint32(i));
        const int row = int(hash % BAND_LINES);
        const int duration = hash % 97 == 0 ? int(30 + hash % 300) : (hash % 7 == 0 ? int(2 + hash % 20) : 1);
        widget.AddValue(0, row, QVariant::fromValue<quint64>(end - quint64(count) + quint64(i)), -40.0 - (hash % 50),
            duration);
    }
}

void CDemoData::FillLevelRects(CQDiagramWidget& widget, int count, quint64 end)
{
    widget.Clear(false);
    widget.SetSingleDiagramArea();
    widget.AddLine(0, QStringLiteral("Level"), QPen(Qt::darkGreen), 0, true);
    widget.AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 1, true);
    const quint64 start = end - quint64(count);
    StartTimeDiagram(widget, DIAGRAM_TIME_LEVEL_RECTS, start);
    widget.SetAxisYWidth(30);
    for (int i = 0; i < count; i += 5) {
        const QVariant t = QVariant::fromValue<quint64>(start + quint64(i));
        widget.AddValue(0, 0, t, Level(i), 4);
        widget.AddValue(0, 1, t, Threshold(i), 5);
    }
}

void CDemoData::ShowAll(CQDiagramWidget& widget)
{
    widget.Reset();
}
