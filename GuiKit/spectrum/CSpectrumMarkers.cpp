#include "spectrum/CSpectrumMarkers.h"
#include "spectrum/SpectrumPoints.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

CSpectrumMarkers::CSpectrumMarkers()
{
    // The delta users of the window have always had.
    m_markers[1].reference = 0;
}

int CSpectrumMarkers::Peak(const std::vector<double>& values)
{
    int peak = -1;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!std::isnan(values[i]) && (peak < 0 || values[i] > values[size_t(peak)]))
            peak = int(i);
    }
    return peak;
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
    if (!IsValid(marker))
        return;
    MARKER& m = m_markers[size_t(marker)];
    m.active = true;
    m.trace = trace;
    m.point = std::max(point, 0);
    m.followsPeak = false;
}

void CSpectrumMarkers::Remove(int marker)
{
    if (!IsValid(marker))
        return;
    m_markers[size_t(marker)].active = false;
    m_markers[size_t(marker)].followsPeak = false;
}

void CSpectrumMarkers::RemoveAll()
{
    for (int i = 0; i < MARKER_COUNT; ++i)
        Remove(i);
}

bool CSpectrumMarkers::AnyActive() const
{
    return std::any_of(m_markers.begin(), m_markers.end(), [](const MARKER& m) { return m.active; });
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

void CSpectrumMarkers::SetTrace(int marker, int trace)
{
    if (IsValid(marker))
        m_markers[size_t(marker)].trace = trace;
}

void CSpectrumMarkers::SetFollowsPeak(int marker, bool follows, const std::vector<double>& values)
{
    if (!IsValid(marker))
        return;
    m_markers[size_t(marker)].followsPeak = follows;
    if (!follows)
        return;
    // Before any sweep the marker waits for the first one's peak.
    m_markers[size_t(marker)].active = true;
    ToPeak(marker, values);
}

void CSpectrumMarkers::MoveFollowers(const TraceValues& values)
{
    for (int i = 0; i < MARKER_COUNT; ++i) {
        const MARKER& m = m_markers[size_t(i)];
        if (m.active && m.followsPeak)
            ToPeak(i, values(m.trace));
    }
}

void CSpectrumMarkers::SetReference(int marker, int reference)
{
    if (IsValid(marker) && reference != marker && (reference == NO_REFERENCE || IsValid(reference)))
        m_markers[size_t(marker)].reference = reference;
}

int CSpectrumMarkers::NextReference(int marker) const
{
    if (!IsValid(marker))
        return NO_REFERENCE;
    for (int r = std::max(m_markers[size_t(marker)].reference + 1, 0); r < MARKER_COUNT; ++r) {
        if (r != marker && m_markers[size_t(r)].active)
            return r;
    }
    return NO_REFERENCE;
}

void CSpectrumMarkers::Rescale(int oldStartMhz, int oldEndMhz, int oldCount, int newStartMhz, int newEndMhz,
    int newCount)
{
    const bool same = oldStartMhz == newStartMhz && oldEndMhz == newEndMhz && oldCount == newCount;
    if (same || oldCount < 1 || newCount < 1)
        return;
    for (MARKER& m : m_markers) {
        const double mhz = SpectrumPoints::Mhz(oldStartMhz, oldEndMhz, m.point, oldCount);
        m.point = SpectrumPoints::PointAt(newStartMhz, newEndMhz, mhz, newCount);
    }
}

QString CSpectrumMarkers::ReadoutText(int marker, double mhz, double dbm, bool followsPeak, const QString& trace)
{
    QString text = followsPeak ? QCoreApplication::translate("CSpectrumMarkers", "M%1 pk  %2 MHz  %3 dBm")
                               : QCoreApplication::translate("CSpectrumMarkers", "M%1  %2 MHz  %3 dBm");
    text = text.arg(marker + 1).arg(mhz, 0, 'f', 1).arg(dbm, 0, 'f', 1);
    if (!trace.isEmpty())
        text += QStringLiteral("  ") + trace;
    return text;
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
