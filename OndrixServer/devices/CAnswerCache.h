#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>

#include <functional>

// Answers too large to build for every request (a full ring of live records
// is some 20 MB of text): built once for a device's state and shared, by
// QByteArray's implicit sharing, with every connection that asks while the
// state holds. The server's thread only.
//
// What bounds it: an answer that only grew is built anew at most once every
// REBUILD_MS, since building a full ring holds the server for a moment and
// a peer must not make it do so at will; and while MAX_VERSIONS versions of
// one answer are still being sent, the newest is shared rather than another
// built, however many connections stop reading.
class CAnswerCache
{
public:
    static constexpr qint64 REBUILD_MS = 1000;
    // A stamp cannot see everything; an answer this old is built anew.
    static constexpr qint64 MAX_AGE_MS = 10000;
    static constexpr int MAX_VERSIONS = 4;

    // What an answer depends on. growth only grows while the content grows
    // (a record count) and falls when the content is replaced; any change of
    // the others means the content is another one.
    struct STAMP
    {
        qint64 growth = 0;
        qint64 first = 0;
        qint64 second = 0;
    };
    using KEY = QPair<int, int>; // device, request
    using Build = std::function<QByteArray()>;
    // Milliseconds of a steady clock; tests stand in for it.
    using Clock = qint64 (*)();

    explicit CAnswerCache(Clock clock = nullptr);

    QByteArray Answer(const KEY& key, const STAMP& stamp, const Build& build);
    // After a command that replaces a device's content (Clear, reading the log).
    void Forget(int device);

private:
    struct ENTRY
    {
        STAMP stamp;
        qint64 built = 0;
        bool forgotten = false;
        // Oldest first; the last is the newest, the one handed out.
        QList<QByteArray> versions;
    };

    bool Serves(ENTRY& entry, const STAMP& stamp, qint64 now) const;
    static qint64 SteadyMs();

    Clock m_pfnClock;
    QHash<KEY, ENTRY> m_entries;
};
