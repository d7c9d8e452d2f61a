#pragma once

#include <QtGlobal>

// The live recording's settings: the keys the preferences write and the
// recorder reads, and what holds when the user never chose. One place, so
// that the dialog and the recorder cannot drift apart.
namespace RecordingSettings {

// Recording is on unless switched off.
constexpr const char* ENABLED_KEY = "Recording/Enabled";
// How much of the past to keep: the oldest recordings go first once either
// limit is passed.
constexpr const char* KEEP_GB_KEY = "Recording/KeepGB";
constexpr const char* KEEP_DAYS_KEY = "Recording/KeepDays";
// Under this much free space on the storage's disk recording pauses, so that
// the disk is never filled to the last byte the rest of the system needs.
constexpr const char* FREE_FLOOR_MB_KEY = "Recording/FreeFloorMB";

// About two months of line-rate records.
constexpr int DEFAULT_KEEP_GB = 16;
constexpr int DEFAULT_KEEP_DAYS = 90;
constexpr int DEFAULT_FREE_FLOOR_MB = 1024;

// The storage folder's subfolder that holds the recordings.
constexpr const char* FOLDER = "Recordings";
constexpr const char* EXTENSION = "orzrec";

struct LIMITS
{
    bool enabled = true;
    qint64 keepBytes = qint64(DEFAULT_KEEP_GB) << 30;
    int keepDays = DEFAULT_KEEP_DAYS;
    qint64 freeFloorBytes = qint64(DEFAULT_FREE_FLOOR_MB) << 20;
};

} // namespace RecordingSettings
