#include "diagram/history/CBarReach.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"

#include <algorithm>

void CBarReach::Appended(const QList<DATA_VALUE>& values, const DATA_VALUE& value)
{
    LINE_REACH& line = m_lines[&values];
    if (line.count + 1 == values.size()) {
        line.count = values.size();
        line.longest = std::max(line.longest, value.extra);
    } else if (line.count != values.size()) {
        line.count = -1;
    }
}

int CBarReach::FirstReaching(const QList<DATA_VALUE>& values, quint64 t)
{
    LINE_REACH& line = m_lines[&values];
    if (line.count != values.size()) {
        line.count = values.size();
        line.longest = 0;
        for (const DATA_VALUE& value : values)
            line.longest = std::max(line.longest, value.extra);
    }
    const quint64 longest = quint64(line.longest);
    return CDiagramValues::FirstAtOrAfter(values, t > longest ? t - longest : 0);
}

quint64 CBarReach::EndOf(const DATA_VALUE& value)
{
    return CRangeGuard::AddSeconds(CDiagramValues::Time(value.x), std::max(0, value.extra));
}
