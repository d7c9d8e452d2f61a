#pragma once

#include "files/CRecordingCodec.h"

#include <QString>

// A closed recording ends with its summary frame, so that what it holds is
// known from its last bytes: the storage tree lists a month of recordings
// without reading them.
class CRecordingTrailer
{
public:
    // Far more than a summary frame takes.
    static constexpr qint64 TAIL_BYTES = 256;

    // The format version of the file's header; 0 for no recording.
    static int Version(const QString& path);
    // False for a recording that was never closed, or no recording.
    static bool Read(const QString& path, CRecordingCodec::SUMMARY& summary);
    // Closes a recording whose writer ended without doing so: the summary
    // goes after whatever the file ends with, which is never cut away, and
    // reaches the disk before this returns.
    static bool Append(const QString& path, const CRecordingCodec::SUMMARY& summary, QString& error);
};
