#pragma once

#include "files/CRecordingCodec.h"
#include "files/CRecordingFrames.h"

#include <QByteArray>
#include <QByteArrayView>

// The files kept beside the data in the recording's framing: a header of a
// six-letter magic and a format version (u16, little-endian), then frames
// (CRecordingFrames) of one kind. A damaged frame loses that frame only:
// reading goes on past it.
class CFramedFile
{
public:
    static constexpr int MAGIC_SIZE = 6;
    static constexpr int HEADER_SIZE = MAGIC_SIZE + 2;

    struct READ
    {
        int damagedPlaces = 0;
        bool cut = false;
    };

    static QByteArray Header(const char* magic, quint16 version);
    static bool HasHeader(QByteArrayView bytes, const char* magic, quint16 version);

    // Each frame of the kind goes to take (payload in, false when it is not
    // sound) from just past the header; other kinds, and what take
    // refuses, are damage.
    template <typename Take>
    static READ Frames(QByteArrayView bytes, quint8 kind, Take take)
    {
        CRecordingFrames frames(bytes.sliced(HEADER_SIZE), CRecordingCodec::VERSION, true);
        CRecordingFrames::FRAME frame;
        while (frames.Next(frame)) {
            if (frame.kind != kind || !take(frame.payload))
                frames.Reject(frame);
        }
        return { int(frames.Damage().size()), frames.Status() == CRecordingCodec::Cut };
    }
};
