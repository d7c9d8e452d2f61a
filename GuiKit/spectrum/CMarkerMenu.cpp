#include "spectrum/CMarkerMenu.h"

#include "spectrum/CMarkerOverlay.h"

#include <QActionGroup>
#include <QMenu>

void CMarkerMenu::AddActions(QMenu* menu, CMarkerOverlay& overlay, const QPoint& pos)
{
    const int marker = overlay.MarkerNear(pos.x() + 0.5);
    const CSpectrumMarkers::MARKER& m = overlay.Markers().Marker(marker);
    AddPlaceActions(menu, overlay, marker, pos);
    AddTraceMenu(menu, overlay, marker);
    QAction* follow = menu->addAction(tr("Follow Peak"));
    follow->setObjectName(QStringLiteral("MarkerFollowPeak"));
    follow->setCheckable(true);
    follow->setChecked(m.active && m.followsPeak);
    follow->setEnabled(overlay.Points() > 0);
    QObject::connect(follow, &QAction::triggered, &overlay, [&overlay, marker]() {
        overlay.Select(marker);
        overlay.ToggleFollowPeak(marker);
    });
    AddDeltaMenu(menu, overlay, marker);
    QAction* remove = menu->addAction(tr("Remove Marker"));
    remove->setObjectName(QStringLiteral("MarkerRemove"));
    remove->setEnabled(m.active);
    QObject::connect(remove, &QAction::triggered, &overlay, [&overlay, marker]() {
        overlay.Markers().Remove(marker);
        overlay.update();
    });
    QAction* removeAll = menu->addAction(tr("Remove All Markers"));
    removeAll->setObjectName(QStringLiteral("MarkerRemoveAll"));
    removeAll->setEnabled(overlay.Markers().AnyActive());
    QObject::connect(removeAll, &QAction::triggered, &overlay, [&overlay]() {
        overlay.Markers().RemoveAll();
        overlay.update();
    });
    menu->addSeparator();
}

// "Marker 1".."Marker 4": the one acted on is checked; choosing one selects
// it and places it at the click.
void CMarkerMenu::AddPlaceActions(QMenu* menu, CMarkerOverlay& overlay, int marker, const QPoint& pos)
{
    auto* group = new QActionGroup(menu);
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i) {
        QAction* action = menu->addAction(tr("Marker %1").arg(i + 1));
        action->setObjectName(QStringLiteral("Marker_%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(i == marker);
        action->setEnabled(overlay.Points() > 0);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &overlay, [&overlay, i, pos]() {
            overlay.Select(i);
            overlay.PlaceAt(i, pos.x() + 0.5);
        });
    }
}

void CMarkerMenu::AddTraceMenu(QMenu* menu, CMarkerOverlay& overlay, int marker)
{
    QMenu* traces = menu->addMenu(tr("Marker Trace"));
    traces->menuAction()->setObjectName(QStringLiteral("MarkerTrace"));
    auto* group = new QActionGroup(traces);
    for (int trace = 0; trace < overlay.TraceCount(); ++trace) {
        if (!overlay.IsTraceShown(trace))
            continue;
        QAction* action = traces->addAction(overlay.TraceName(trace));
        action->setObjectName(QStringLiteral("MarkerTrace_%1").arg(trace));
        action->setCheckable(true);
        action->setChecked(overlay.Markers().Marker(marker).trace == trace);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &overlay,
            [&overlay, marker, trace]() { overlay.SetTrace(marker, trace); });
    }
}

// None, or one of the other markers placed.
void CMarkerMenu::AddDeltaMenu(QMenu* menu, CMarkerOverlay& overlay, int marker)
{
    const CSpectrumMarkers& markers = overlay.Markers();
    QMenu* deltas = menu->addMenu(tr("Delta To"));
    deltas->menuAction()->setObjectName(QStringLiteral("MarkerDeltaTo"));
    deltas->setEnabled(markers.Marker(marker).active);
    auto* group = new QActionGroup(deltas);
    for (int reference = CSpectrumMarkers::NO_REFERENCE; reference < CSpectrumMarkers::MARKER_COUNT; ++reference) {
        const bool none = reference == CSpectrumMarkers::NO_REFERENCE;
        if (reference == marker || (!none && !markers.Marker(reference).active))
            continue;
        QAction* action = deltas->addAction(none ? tr("None") : tr("Marker %1").arg(reference + 1));
        action->setObjectName(
            none ? QStringLiteral("MarkerDelta_none") : QStringLiteral("MarkerDelta_%1").arg(reference + 1));
        action->setCheckable(true);
        action->setChecked(markers.Marker(marker).reference == reference);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &overlay, [&overlay, marker, reference]() {
            overlay.Markers().SetReference(marker, reference);
            overlay.update();
        });
    }
}
