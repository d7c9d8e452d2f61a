#include "security/CServerIdentity.h"

#include "protocol/CCertificateFingerprint.h"
#include "security/CCertificateMaker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace {

constexpr QFileDevice::Permissions PRIVATE = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions OTHERS = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
constexpr char LOCK_FILE[] = "identity.lock";
// Two servers or a server and `--fingerprint` starting at once: the one
// that makes the identity finishes before the other reads it.
constexpr int LOCK_WAIT_MS = 10000;

bool IsPrivate(const QString& path, QString& error)
{
    if ((QFileInfo(path).permissions() & OTHERS) == 0)
        return true;
    error = QStringLiteral(
        "%1 may be read by other users; make it private (chmod 600) or remove it to have a new one made")
                .arg(path);
    return false;
}

bool ReadPrivate(const QString& path, QByteArray& bytes, QString& error)
{
    if (!IsPrivate(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    return true;
}

// Private from the first byte: the temporary file is made so before
// anything is written to it.
bool WritePrivate(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(PRIVATE) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QByteArray NewAccessKey()
{
    QByteArray bytes(CServerIdentity::ACCESS_KEY_BYTES, Qt::Uninitialized);
    QRandomGenerator::system()->generate(bytes.begin(), bytes.end());
    return bytes.toHex();
}

} // namespace

QString CServerIdentity::DefaultFolder()
{
    // systemd may list several, separated by colons; the unit names one.
    const QString state = qEnvironmentVariable("STATE_DIRECTORY").section(QLatin1Char(':'), 0, 0);
    return state.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : state;
}

bool CServerIdentity::Load(const QString& folder, QString& error)
{
    m_folder = folder;
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot make the state folder %1").arg(folder);
        return false;
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QLockFile lock(Path(LOCK_FILE));
    if (!lock.tryLock(LOCK_WAIT_MS)) {
        error = QStringLiteral("cannot lock %1: another server holds it").arg(Path(LOCK_FILE));
        return false;
    }
    return LoadCertificate(error) && LoadAccessKeys(error);
}

bool CServerIdentity::NewKeys(QString& error)
{
    QLockFile lock(Path(LOCK_FILE));
    if (!lock.tryLock(LOCK_WAIT_MS)) {
        error = QStringLiteral("cannot lock %1: another server holds it").arg(Path(LOCK_FILE));
        return false;
    }
    m_viewKey = NewAccessKey();
    m_controlKey = NewAccessKey();
    return WriteAccessKeys(error);
}

QString CServerIdentity::Fingerprint() const
{
    return CCertificateFingerprint::Of(m_certificate);
}

// The key and the certificate go together: with either missing both are
// made anew, and clients see a new fingerprint.
bool CServerIdentity::LoadCertificate(QString& error)
{
    if (!QFile::exists(Path(KEY_FILE)) || !QFile::exists(Path(CERTIFICATE_FILE)))
        return MakeCertificate(error);
    QByteArray keyPem;
    QByteArray certificatePem;
    if (!ReadPrivate(Path(KEY_FILE), keyPem, error) || !ReadPrivate(Path(CERTIFICATE_FILE), certificatePem, error))
        return false;
    m_key = QSslKey(keyPem, QSsl::Ec);
    m_certificate = QSslCertificate(certificatePem);
    if (m_key.isNull() || m_certificate.isNull()) {
        error = QStringLiteral(
            "%1 or %2 is damaged; remove both to have a new identity made (clients will see a new fingerprint)")
                    .arg(Path(KEY_FILE), Path(CERTIFICATE_FILE));
        return false;
    }
    return true;
}

bool CServerIdentity::MakeCertificate(QString& error)
{
    CCertificateMaker::IDENTITY_PEM pem;
    if (!CCertificateMaker::Make(QStringLiteral("Ondrix server on ") + QSysInfo::machineHostName(), pem, error)
        || !WritePrivate(Path(KEY_FILE), pem.key, error)
        || !WritePrivate(Path(CERTIFICATE_FILE), pem.certificate, error))
        return false;
    m_key = QSslKey(pem.key, QSsl::Ec);
    m_certificate = QSslCertificate(pem.certificate);
    return !m_key.isNull() && !m_certificate.isNull();
}

bool CServerIdentity::LoadAccessKeys(QString& error)
{
    if (!QFile::exists(Path(ACCESS_FILE))) {
        m_viewKey = NewAccessKey();
        m_controlKey = NewAccessKey();
        return WriteAccessKeys(error);
    }
    QByteArray bytes;
    if (!ReadPrivate(Path(ACCESS_FILE), bytes, error))
        return false;
    m_viewKey.clear();
    m_controlKey.clear();
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() == 2 && words[0] == VIEW_WORD)
            m_viewKey = words[1];
        else if (words.size() == 2 && words[0] == CONTROL_WORD)
            m_controlKey = words[1];
    }
    if (m_viewKey.isEmpty() || m_controlKey.isEmpty() || m_viewKey == m_controlKey) {
        error = QStringLiteral(
            "%1 does not hold a 'view KEY' and a different 'control KEY' line; --new-keys makes new ones")
                    .arg(Path(ACCESS_FILE));
        return false;
    }
    return true;
}

bool CServerIdentity::WriteAccessKeys(QString& error)
{
    const QByteArray text = QByteArray(VIEW_WORD) + ' ' + m_viewKey + '\n' + CONTROL_WORD + ' ' + m_controlKey + '\n';
    return WritePrivate(Path(ACCESS_FILE), text, error);
}

QString CServerIdentity::Path(const char* name) const
{
    return QDir(m_folder).filePath(QLatin1String(name));
}
