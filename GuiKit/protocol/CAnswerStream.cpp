#include "protocol/CAnswerStream.h"

#include "protocol/ServerProtocol.h"

namespace {

const QByteArrayView START = ServerProtocol::FRAME_START;
const QByteArrayView END = ServerProtocol::FRAME_END;

} // namespace

CAnswerStream::CAnswerStream(qsizetype maxBytes)
    : m_nMaxBytes(maxBytes)
{
}

CAnswerStream::State CAnswerStream::Append(QByteArrayView bytes)
{
    if (bytes.size() > m_nMaxBytes - m_buffer.size())
        return Malformed;
    m_buffer.append(bytes);
    return Check();
}

// A start marker cut between two pieces is still a start marker.
CAnswerStream::State CAnswerStream::Check() const
{
    const qsizetype head = qMin(m_buffer.size(), START.size());
    return QByteArrayView(m_buffer).first(head) == START.first(head) ? Incomplete : Malformed;
}

CAnswerStream::State CAnswerStream::Next(bool followed, QByteArray& payload)
{
    if (Check() == Malformed)
        return Malformed;
    qsizetype end = -1;
    if (followed)
        end = m_buffer.indexOf(END, START.size());
    else if (m_buffer.size() >= START.size() + END.size() && m_buffer.endsWith(END))
        end = m_buffer.size() - END.size();
    if (end < 0)
        return Incomplete;
    payload = m_buffer.sliced(START.size(), end - START.size());
    m_buffer.remove(0, end + END.size());
    return Complete;
}

void CAnswerStream::Clear()
{
    m_buffer.clear();
}
