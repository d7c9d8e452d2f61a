#include "CAnswerFrame.h"

#include "ServerProtocol.h"

namespace {

const QByteArrayView START = ServerProtocol::FRAME_START;
const QByteArrayView END = ServerProtocol::FRAME_END;

} // namespace

CAnswerFrame::CAnswerFrame(qsizetype maxBytes)
    : m_nMaxBytes(maxBytes)
{
}

CAnswerFrame::State CAnswerFrame::Append(QByteArrayView bytes)
{
    if (m_state != Incomplete)
        return m_state;
    if (bytes.size() > m_nMaxBytes - m_collected.size()) {
        m_state = Malformed;
        return m_state;
    }
    m_collected.append(bytes);
    // A start marker cut between two pieces is still a start marker.
    const qsizetype head = qMin(m_collected.size(), START.size());
    if (QByteArrayView(m_collected).first(head) != START.first(head))
        m_state = Malformed;
    else if (m_collected.size() >= START.size() + END.size() && m_collected.endsWith(END))
        m_state = Complete;
    return m_state;
}

QByteArray CAnswerFrame::Payload() const
{
    if (m_state != Complete)
        return QByteArray();
    return m_collected.mid(START.size(), m_collected.size() - START.size() - END.size());
}
