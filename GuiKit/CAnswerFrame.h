#pragma once

#include "GuiKitExport.h"

#include <QByteArray>
#include <QByteArrayView>

// Collects one answer of the server, "<D>" payload "</D>", from the pieces
// the socket delivers. The answer is complete when the bytes collected so
// far end with the end marker, however the pieces were cut.
class GUIKIT_EXPORT CAnswerFrame
{
public:
    enum State { Incomplete, Complete, Malformed };

    // Far beyond the largest honest answer (a full ring of live records);
    // a server that keeps talking past it is broken.
    static constexpr qsizetype MAX_BYTES = qsizetype(256) * 1024 * 1024;

    explicit CAnswerFrame(qsizetype maxBytes = MAX_BYTES);

    State Append(QByteArrayView bytes);
    State GetState() const { return m_state; }
    // The bytes between the markers once complete, else empty.
    QByteArray Payload() const;

private:
    qsizetype m_nMaxBytes;
    QByteArray m_collected;
    State m_state = Incomplete;
};
