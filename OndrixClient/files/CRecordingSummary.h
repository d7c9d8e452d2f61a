#pragma once

#include "files/CRecordingCodec.h"

#include <QString>

#include <atomic>

class CRecordingReader;

// What a recording holds: from its closing summary when it has one (then
// nothing else is read but its first frames, for the device), else from
// reading it through a piece at a time, so that one of days fits in memory.
class CRecordingSummary
{
public:
    struct RECORDING
    {
        CRecordingCodec::Status status = CRecordingCodec::NotARecording;
        QString device;
        CRecordingCodec::SUMMARY summary;
        bool stopped = false; // the reading was stopped before the end
    };

    static RECORDING Summarize(const QString& recording);
    // Reads it through whatever its end says; cancel stops it between
    // pieces.
    static RECORDING Scan(const QString& recording, const std::atomic<bool>* cancel = nullptr);

private:
    static bool ReadTrailer(const QString& recording, RECORDING& recorded);
    static void Scan(CRecordingReader& reader, RECORDING& recorded, const std::atomic<bool>* cancel);
};
