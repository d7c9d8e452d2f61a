#pragma once

#include "GuiKitExport.h"
#include "waterfall/WATERFALL_ROW.h"

#include <QImage>

#include <vector>

class CWaterfallPalette;
struct SPECTRUM_SWEEP;

// The last sweeps of a session, a fixed number of them: a ring of rows and
// a ring image of their colours, both written once when a sweep comes, so
// that a long session never grows and a paint only copies pixels. Newer
// rows sit on lower image lines (wrapping), so that the view, newest at the
// top, is at most two slices of the image.
class GUIKIT_EXPORT CWaterfallHistory
{
public:
    static constexpr int DEFAULT_CAPACITY = 3600;
    static constexpr int MAX_CAPACITY = 100000;

    explicit CWaterfallHistory(int capacity = DEFAULT_CAPACITY);

    // A sweep while searching or without points makes no row (false);
    // points beyond SPECTRUM_SWEEP::MAX_POINTS are cut.
    bool Add(const SPECTRUM_SWEEP& sweep, const CWaterfallPalette& palette);
    void Clear();

    int Count() const { return m_nCount; }
    int Capacity() const { return int(m_rows.size()); }
    // age: 0 for the newest row, up to Count() - 1.
    const WATERFALL_ROW& Row(int age) const;
    // The line of Image() that holds the row of that age.
    int Slot(int age) const;
    const QImage& Image() const { return m_image; }

private:
    void Paint(const WATERFALL_ROW& row, int slot, const CWaterfallPalette& palette);

    std::vector<WATERFALL_ROW> m_rows;
    QImage m_image;
    int m_nNewestSlot = 0;
    int m_nCount = 0;
};
