#include "waterfall/CWaterfallHistory.h"
#include "spectrum/SpectrumLevels.h"

#include "SPECTRUM_SWEEP.h"
#include "waterfall/CWaterfallPalette.h"

#include <algorithm>

CWaterfallHistory::CWaterfallHistory(int capacity)
    : m_rows(size_t(std::clamp(capacity, 1, MAX_CAPACITY)))
    , m_image(WATERFALL_ROW::COLUMNS, Capacity(), QImage::Format_RGB32)
{
    m_image.fill(CWaterfallPalette::NO_DATA);
}

bool CWaterfallHistory::Add(const SPECTRUM_SWEEP& sweep, const CWaterfallPalette& palette)
{
    if (sweep.points.isEmpty() || sweep.levelMinDbm == SpectrumLevels::SEARCH_MODE_MARKER)
        return false;
    const int slot = (m_nNewestSlot + Capacity() - 1) % Capacity();
    WATERFALL_ROW& row = m_rows[size_t(slot)];
    row.time = sweep.time;
    row.rangeStartMhz = sweep.rangeStartMhz;
    row.rangeEndMhz = sweep.rangeEndMhz;
    row.levelMinDbm = sweep.levelMinDbm;
    row.count = std::min(int(sweep.points.size()), SPECTRUM_SWEEP::MAX_POINTS);
    row.rangeChanged
        = m_nCount > 0 && (Row(0).rangeStartMhz != row.rangeStartMhz || Row(0).rangeEndMhz != row.rangeEndMhz);
    std::copy_n(reinterpret_cast<const quint8*>(sweep.points.constData()), row.count, row.levels.begin());
    std::fill(row.levels.begin() + row.count, row.levels.end(), quint8(0));
    Paint(row, slot, palette);
    m_nNewestSlot = slot;
    m_nCount = std::min(m_nCount + 1, Capacity());
    return true;
}

void CWaterfallHistory::Paint(const WATERFALL_ROW& row, int slot, const CWaterfallPalette& palette)
{
    // A column shows the strongest of its points, as the bar above it does.
    const std::array<int, BarGraph::BARS> columns = BarGraph::Bars(row.levels.data(), row.count);
    auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(slot));
    for (int column = 0; column < WATERFALL_ROW::COLUMNS; ++column)
        line[column] = palette.Color(columns[size_t(column)]);
}

void CWaterfallHistory::Clear()
{
    m_nCount = 0;
}

const WATERFALL_ROW& CWaterfallHistory::Row(int age) const
{
    return m_rows[size_t(Slot(age))];
}

int CWaterfallHistory::Slot(int age) const
{
    return (m_nNewestSlot + std::clamp(age, 0, Capacity() - 1)) % Capacity();
}
