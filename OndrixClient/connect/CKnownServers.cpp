#include "connect/CKnownServers.h"

#include "app/ClientLog.h"
#include "protocol/CServerAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// A line of another form, or a file grown by hand, is never read past this.
constexpr qint64 MAX_FILE_BYTES = 1024 * 1024;

QStringList Fields(const QString& line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

CKnownServers::CKnownServers(const QString& path)
    : m_strPath(path)
{
}

QString CKnownServers::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/known-servers");
}

bool CKnownServers::Find(const CServerAddress& server, QString& fingerprint, QString& key) const
{
    for (const QString& line : Lines()) {
        const QStringList fields = Fields(line);
        if (fields.size() == 3 && fields[0] == server.Key()) {
            fingerprint = fields[1];
            key = fields[2];
            return true;
        }
    }
    return false;
}

bool CKnownServers::Remember(const CServerAddress& server, const QString& fingerprint, const QString& key)
{
    // A key with a blank in it would split the line: no key the server
    // makes has one.
    if (fingerprint.contains(QLatin1Char(' ')) || key.contains(QLatin1Char(' ')) || key.contains(QLatin1Char('\n')))
        return false;
    QStringList lines;
    for (const QString& line : Lines()) {
        if (Fields(line).value(0) != server.Key())
            lines.append(line);
    }
    lines.append(server.Key() + QLatin1Char(' ') + fingerprint + QLatin1Char(' ') + key);
    return Write(lines);
}

bool CKnownServers::Forget(const CServerAddress& server)
{
    QStringList lines = Lines();
    const qsizetype before = lines.size();
    lines.removeIf([&server](const QString& line) { return Fields(line).value(0) == server.Key(); });
    return lines.size() == before || Write(lines);
}

QStringList CKnownServers::Lines() const
{
    QFile file(m_strPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MAX_FILE_BYTES)
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool CKnownServers::Write(const QStringList& lines) const
{
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    QSaveFile file(m_strPath);
    // Private before a byte is written: the temporary file becomes the file.
    const bool written = file.open(QIODevice::WriteOnly)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n') >= 0 && file.commit();
    if (!written)
        qCWarning(lcClient) << "the known servers could not be written to" << m_strPath << file.errorString();
    return written;
}
