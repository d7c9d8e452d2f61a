#pragma once

#include "GuiKitExport.h"

#include <QByteArray>
#include <QByteArrayView>

// The server's answers, "<D>" payload "</D>", one after another as the
// socket delivers them: a client that sends several requests in one write
// reads several answers out of one piece. An answer that another follows is
// text and ends at its first end marker; the last one may carry a binary
// block (the settings) and is whole once the bytes end with the marker, as
// a lone answer always was.
class GUIKIT_EXPORT CAnswerStream
{
public:
    enum State { Incomplete, Complete, Malformed };

    // Far beyond the largest honest answer (a full ring of live records);
    // a server that keeps talking past it is broken.
    static constexpr qsizetype MAX_BYTES = qsizetype(256) * 1024 * 1024;

    explicit CAnswerStream(qsizetype maxBytes = MAX_BYTES);

    // Malformed once the bytes waiting exceed the bound.
    State Append(QByteArrayView bytes);
    // The first answer waiting, taken off when whole. followed: more
    // answers are on their way behind it.
    State Next(bool followed, QByteArray& payload);
    void Clear();
    qsizetype Buffered() const { return m_buffer.size(); }

private:
    State Check() const;

    qsizetype m_nMaxBytes;
    QByteArray m_buffer;
};
