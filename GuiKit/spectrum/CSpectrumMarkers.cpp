#include "spectrum/CSpectrumMarkers.h"

#include <QCoreApplication>

#include <algorithm>

int CSpectrumMarkers::Peak(const std::vector<double>& values)
{
    if (values.empty())
        return -1;
    return int(std::max_element(values.begin(), values.end()) - values.begin());
}

int CSpectrumMarkers::NextPeak(const std::vector<double>& values, int from, Direction direction)
{
    const int count = int(values.size());
    // Leave the plateau the marker stands on first, or it finds itself.
    int point = std::clamp(from, 0, std::max(count - 1, 0)) + direction;
    while (point >= 0 && point < count && values[size_t(point)] == values[size_t(point - direction)])
        point += direction;
    for (; point >= 0 && point < count; point += direction) {
        const double level = values[size_t(point)];
        const bool aboveBefore = point == 0 || values[size_t(point - 1)] < level;
        int after = point + 1;
        while (after < count && values[size_t(after)] == level)
            ++after;
        const bool aboveAfter = after == count || values[size_t(after)] < level;
        if (aboveBefore && aboveAfter && (point > 0 || after < count))
            return point;
    }
    return -1;
}

void CSpectrumMarkers::Place(int marker, int trace, int point)
{
    if (IsValid(marker))
        m_markers[size_t(marker)] = MARKER { true, trace, std::max(point, 0) };
}

void CSpectrumMarkers::Remove(int marker)
{
    if (IsValid(marker))
        m_markers[size_t(marker)].active = false;
}

void CSpectrumMarkers::Move(int marker, int step, int count)
{
    if (!IsValid(marker) || !m_markers[size_t(marker)].active || count < 1)
        return;
    MARKER& m = m_markers[size_t(marker)];
    m.point = std::clamp(m.point + step, 0, count - 1);
}

void CSpectrumMarkers::ToPeak(int marker, const std::vector<double>& values)
{
    const int point = Peak(values);
    if (IsValid(marker) && point >= 0) {
        m_markers[size_t(marker)].active = true;
        m_markers[size_t(marker)].point = point;
    }
}

bool CSpectrumMarkers::ToNextPeak(int marker, const std::vector<double>& values, Direction direction)
{
    if (!IsValid(marker) || !m_markers[size_t(marker)].active)
        return false;
    const int point = NextPeak(values, m_markers[size_t(marker)].point, direction);
    if (point < 0)
        return false;
    m_markers[size_t(marker)].point = point;
    return true;
}

QString CSpectrumMarkers::ReadoutText(int marker, double mhz, double dbm)
{
    return QCoreApplication::translate("CSpectrumMarkers", "M%1  %2 MHz  %3 dBm")
        .arg(marker + 1)
        .arg(mhz, 0, 'f', 1)
        .arg(dbm, 0, 'f', 1);
}

namespace {

// A delta always shows its sign, so "+0.0" and "-3.0" read alike.
QString SignedText(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (!text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char('+'));
    return text;
}

} // namespace

QString CSpectrumMarkers::DeltaText(int marker, int reference, double deltaMhz, double deltaDb)
{
    return QCoreApplication::translate("CSpectrumMarkers", "\u0394 M%1\u2212M%2  %3 MHz  %4 dB")
        .arg(QString::number(marker + 1), QString::number(reference + 1), SignedText(deltaMhz), SignedText(deltaDb));
}
