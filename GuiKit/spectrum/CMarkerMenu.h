#pragma once

#include <QCoreApplication>
#include <QPoint>

class CMarkerOverlay;
class QMenu;

// The markers' entries in the spectrum graph's context menu. They act on
// the marker nearest the click, or on the selected one when none is near:
// which marker to place at the click, the trace it sits on, following the
// peak, the marker it is a delta against, and removing markers.
class CMarkerMenu
{
    Q_DECLARE_TR_FUNCTIONS(CMarkerMenu)

public:
    static void AddActions(QMenu* menu, CMarkerOverlay& overlay, const QPoint& pos);

private:
    static void AddPlaceActions(QMenu* menu, CMarkerOverlay& overlay, int marker, const QPoint& pos);
    static void AddTraceMenu(QMenu* menu, CMarkerOverlay& overlay, int marker);
    static void AddDeltaMenu(QMenu* menu, CMarkerOverlay& overlay, int marker);
};
