#pragma once

#include "security/CKeyLimiter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>

class CPeerPolicy;
struct CLIENT_SESSION;

// The access keys a peer proves itself with before anything else on the
// encrypted port. The view key lets it read; the control key lets it also
// change the detector, unless the operator's --control list leaves its
// address out. Wrong keys are counted per origin: one that keeps guessing
// is shut out of the encrypted port for a while. The plain port stays open
// to it, so that a local process cannot lock this computer's user out of
// the server by guessing from loopback.
class CAccessGate
{
public:
    explicit CAccessGate(const CPeerPolicy* policy);

    // Without keys every key is wrong.
    void SetKeys(const QByteArray& viewKey, const QByteArray& controlKey);
    bool IsShutOut(const QHostAddress& peer) const;
    // The session's role for the key; false, counted and logged, for a
    // wrong one.
    bool Admit(const QByteArray& key, CLIENT_SESSION& session);

private:
    static bool SameKey(const QByteArray& given, const QByteArray& known);

    const CPeerPolicy* m_pPolicy;
    QByteArray m_viewKey;
    QByteArray m_controlKey;
    CKeyLimiter m_limiter;
    QElapsedTimer m_clock;
};
