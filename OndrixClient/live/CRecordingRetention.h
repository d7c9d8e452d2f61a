#pragma once

#include "files/RecordingSettings.h"

#include <QStringList>

// Keeps the recordings folder within the user's limits: the oldest
// recordings go first, one at a time, until what is left is within both the
// size and the age. A recording being written, here or by another client,
// is never deleted, and every deletion is logged.
class CRecordingRetention
{
public:
    // The recordings deleted.
    static QStringList Apply(const QString& folder, const RecordingSettings::LIMITS& limits, const QStringList& keep);
    // The folder's recordings, oldest first: their names begin with the UTC
    // time they were started.
    static QStringList List(const QString& folder);
};
