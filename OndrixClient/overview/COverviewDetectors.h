#pragma once

#include "overview/OVERVIEW_DETECTOR.h"

#include <QCoreApplication>
#include <QList>

// The detectors the overview watches, remembered in the settings in the
// order they were added. An address is there once; this computer's
// detector is one entry however many drivers there are.
class COverviewDetectors
{
    Q_DECLARE_TR_FUNCTIONS(COverviewDetectors)

public:
    // Each is a thread of the client's: a bound, far above any office.
    static constexpr int MAX_DETECTORS = 256;

    static QList<OVERVIEW_DETECTOR> Load();
    static void Save(const QList<OVERVIEW_DETECTOR>& detectors);

    // False when it was there already (its name is then left alone) or the
    // list is full.
    static bool Add(QList<OVERVIEW_DETECTOR>& detectors, const OVERVIEW_DETECTOR& detector);
    // What the rows and the alerts call it.
    static QString Label(const OVERVIEW_DETECTOR& detector);
    // The address as typed, made one spelling: trimmed, and without the
    // plain scheme, which is the default.
    static QString Normalized(const QString& address);
};
