#pragma once

#include <QByteArray>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// Who the server is and who may use it over TLS: a private key with its
// self-signed certificate, which clients pin by fingerprint, and two access
// keys, one to view and one to control. They live in the state folder, each
// file readable by the server's user alone, and are made the first time
// they are missing. A file others may read is refused rather than trusted.
class CServerIdentity
{
public:
    static constexpr char KEY_FILE[] = "identity.key";
    static constexpr char CERTIFICATE_FILE[] = "identity.crt";
    static constexpr char ACCESS_FILE[] = "access-keys";
    static constexpr char VIEW_WORD[] = "view";
    static constexpr char CONTROL_WORD[] = "control";
    static constexpr int ACCESS_KEY_BYTES = 16;

    // systemd's StateDirectory= where the unit gives one, else the user's
    // data folder.
    static QString DefaultFolder();

    // Reads the identity of `folder`, making what is missing. False, with
    // the reason, when a file cannot be read, made or is not private.
    bool Load(const QString& folder, QString& error);
    // Replaces both access keys; whoever had the old ones has to be told
    // the new.
    bool NewKeys(QString& error);

    QString Fingerprint() const;
    const QByteArray& ViewKey() const { return m_viewKey; }
    const QByteArray& ControlKey() const { return m_controlKey; }
    const QSslCertificate& Certificate() const { return m_certificate; }
    const QSslKey& PrivateKey() const { return m_key; }

private:
    bool LoadCertificate(QString& error);
    bool MakeCertificate(QString& error);
    bool LoadAccessKeys(QString& error);
    bool WriteAccessKeys(QString& error);
    QString Path(const char* name) const;

    QString m_folder;
    QSslKey m_key;
    QSslCertificate m_certificate;
    QByteArray m_viewKey;
    QByteArray m_controlKey;
};
