#pragma once

#include "GuiKitExport.h"
#include "diagram/DIAGRAM_RANGES.h"

#include <QRecursiveMutex>

// The guarded setters of a widget's range state. Each refuses a bound that
// would leave the full range or make the visible span smaller than allowed,
// and reports whether it changed anything. They run under one process-wide
// recursive lock, which the window shifts take before calling the single
// bound setters.
class GUIKIT_EXPORT CRangeGuard
{
public:
    static QRecursiveMutex& Mutex();

    static bool SetVisibleXMinReal(DIAGRAM_RANGES& ranges, double v);
    static bool SetVisibleXMaxReal(DIAGRAM_RANGES& ranges, double v);
    static bool SetVisibleXMinTime(DIAGRAM_RANGES& ranges, quint64 t);
    static bool SetVisibleXMaxTime(DIAGRAM_RANGES& ranges, quint64 t);
    static bool SetFullXMaxTime(DIAGRAM_RANGES& ranges, quint64 t);
    static bool SetVisibleYMin(DIAGRAM_RANGES& ranges, double v);
    static bool SetVisibleYMax(DIAGRAM_RANGES& ranges, double v);

    // Moves the visible window by d seconds (or X units), keeping its width:
    // the leading bound first, the other only when the first was accepted.
    static bool ShiftTimeWindow(DIAGRAM_RANGES& ranges, qint64 d);
    static bool ShiftRealWindow(DIAGRAM_RANGES& ranges, double d);

    // Signed seconds from one time to another, saturated: times are unsigned
    // and a window may lie anywhere, so a plain difference could wrap.
    static qint64 Seconds(quint64 from, quint64 to);
    static quint64 AddSeconds(quint64 t, qint64 d);
};
