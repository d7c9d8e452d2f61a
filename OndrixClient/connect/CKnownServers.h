#pragma once

#include <QString>

class CServerAddress;

// What the client knows of the encrypted servers it has used: the
// fingerprint each showed at the first connection, and the access key the
// user gave it. A file of its own, readable by the user alone (the keys
// open the detectors), a line a server: "address fingerprint key".
class CKnownServers
{
public:
    explicit CKnownServers(const QString& path = DefaultPath());
    static QString DefaultPath();

    bool Find(const CServerAddress& server, QString& fingerprint, QString& key) const;
    // False when the file could not be written.
    bool Remember(const CServerAddress& server, const QString& fingerprint, const QString& key);
    bool Forget(const CServerAddress& server);
    QString Path() const { return m_strPath; }

private:
    QStringList Lines() const;
    bool Write(const QStringList& lines) const;

    QString m_strPath;
};
