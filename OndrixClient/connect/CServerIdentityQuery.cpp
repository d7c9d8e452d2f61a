#include "connect/CServerIdentityQuery.h"

#include "protocol/ServerCommandLine.h"

#include <QProcess>
#include <QRegularExpression>

bool CServerIdentityQuery::Read(const QString& program, QString& error)
{
    QByteArray fingerprintOut;
    QByteArray keysOut;
    if (!Run(program, QLatin1String(ServerCommandLine::FINGERPRINT), fingerprintOut, error)
        || !Run(program, QLatin1String(ServerCommandLine::SHOW_KEYS), keysOut, error))
        return false;
    fingerprint = QString::fromLatin1(fingerprintOut.trimmed());
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    for (const QByteArray& line : keysOut.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 2 && fields[0] == "view")
            viewKey = QString::fromLatin1(fields[1]);
        else if (fields.size() == 2 && fields[0] == "control")
            controlKey = QString::fromLatin1(fields[1]);
    }
    if (hex.match(fingerprint).hasMatch() && !viewKey.isEmpty() && !controlKey.isEmpty())
        return true;
    error = tr("%1 did not tell its fingerprint and keys").arg(program);
    return false;
}

bool CServerIdentityQuery::Run(const QString& program, const QString& option, QByteArray& output, QString& error)
{
    QProcess process;
    process.start(program, { QStringLiteral("--") + option });
    if (!process.waitForFinished(RUN_MS) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        error = tr("%1 %2 failed: %3")
                    .arg(program, option, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    output = process.readAllStandardOutput();
    return true;
}
