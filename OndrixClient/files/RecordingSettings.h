#pragma once

#include <QtGlobal>

// The live recording's settings: what holds when the user never chose (the
// keys are in ClientSettingsKeys), where recordings go and how they are
// named. One place, so that the dialog and the recorder cannot drift apart.
namespace RecordingSettings {

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
