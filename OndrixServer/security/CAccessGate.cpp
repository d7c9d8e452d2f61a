#include "security/CAccessGate.h"

#include "app/ServerLog.h"
#include "connections/CLIENT_SESSION.h"
#include "security/CPeerPolicy.h"

CAccessGate::CAccessGate(const CPeerPolicy* policy)
    : m_pPolicy(policy)
{
    m_clock.start();
}

void CAccessGate::SetKeys(const QByteArray& viewKey, const QByteArray& controlKey)
{
    m_viewKey = viewKey;
    m_controlKey = controlKey;
}

bool CAccessGate::IsShutOut(const QHostAddress& peer) const
{
    return m_limiter.IsBlocked(CPeerPolicy::Origin(peer), m_clock.elapsed());
}

bool CAccessGate::Admit(const QByteArray& key, CLIENT_SESSION& session)
{
    // Both compared whatever the first gives, so that the time tells nothing.
    const bool control = SameKey(key, m_controlKey);
    const bool view = SameKey(key, m_viewKey);
    if (control || view) {
        session.needsKey = false;
        session.mayControl = control && m_pPolicy->MayControlWithKey(session.address);
        ServerLog::Peer(session.address, session.port,
            session.mayControl ? QStringLiteral("access key accepted (control)")
                               : QStringLiteral("access key accepted (read-only)"));
        return true;
    }
    session.refused = true;
    ServerLog::Peer(session.address, session.port, QStringLiteral("refused: wrong access key"));
    // Once per origin and block, so never drowned by the peer's other lines.
    if (m_limiter.Failed(CPeerPolicy::Origin(session.address), m_clock.elapsed()))
        ServerLog::Line(ServerLog::PeerText(session.address, session.port)
            + QStringLiteral(" shut out of the encrypted port for %1 minutes: %2 wrong access keys within a minute")
                  .arg(CKeyLimiter::BLOCK_MS / 60000)
                  .arg(CKeyLimiter::FAILURES));
    return false;
}

bool CAccessGate::SameKey(const QByteArray& given, const QByteArray& known)
{
    if (known.isEmpty() || given.size() != known.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < known.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ known[i]);
    return difference == 0;
}
