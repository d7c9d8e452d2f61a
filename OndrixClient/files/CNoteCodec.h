#pragma once

#include "files/NOTE.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

// A note's bytes, as a recording's note frame and a notes file hold them:
// time (u64, milliseconds since 1970 UTC), text (u16 byte count, UTF-8),
// little-endian. A note is a line written while standing in a room: short,
// one line, no control characters (tabs and line breaks included, so that
// every list and table shows it on one line). Such a note is refused, never
// cut or changed.
class CNoteCodec
{
    Q_DECLARE_TR_FUNCTIONS(CNoteCodec)

public:
    static constexpr int MAX_CHARS = 500;

    // Why the text cannot be a note, for the user; empty when it can.
    static QString Refusal(const QString& text);
    static QByteArray Encode(const NOTE& note);
    // False for bytes that are not one note of the form above, or whose
    // text would be refused.
    static bool Decode(QByteArrayView payload, NOTE& note);
};
