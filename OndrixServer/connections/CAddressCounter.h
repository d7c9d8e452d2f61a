#pragma once

#include <QHash>
#include <QHostAddress>
#include <QString>

// The connections the server holds, counted in total and by where they come
// from (CPeerPolicy::Origin), so that one address, however many times it
// connects, leaves slots for the others. Used on the server's thread only.
class CAddressCounter
{
public:
    enum Admission { Admitted, AddressFull, ServerFull };

    // One origin gets at most perOrigin, and never more than half of total
    // (at least one).
    CAddressCounter(int total, int perOrigin);

    // Counts the peer in when it is Admitted.
    Admission Add(const QHostAddress& peer);
    // For a peer Add admitted, once its connection closed.
    void Remove(const QHostAddress& peer);
    void Clear();

    int Total() const { return m_nCount; }
    int PerOrigin() const { return m_nPerOrigin; }

private:
    QHash<QString, int> m_byOrigin;
    int m_nTotal;
    int m_nPerOrigin;
    int m_nCount = 0;
};
