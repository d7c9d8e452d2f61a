#include "live/CRecordingRetention.h"

#include "app/ClientLog.h"
#include "live/CLiveRecorder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

QStringList CRecordingRetention::List(const QString& folder)
{
    const QDir dir(folder);
    QStringList paths;
    const QStringList names = dir.entryList({ QStringLiteral("*.") + QLatin1String(RecordingSettings::EXTENSION) },
        QDir::Files, QDir::Name);
    for (const QString& name : names)
        paths.append(dir.filePath(name));
    return paths;
}

QStringList CRecordingRetention::Apply(const QString& folder, const RecordingSettings::LIMITS& limits,
    const QStringList& keep)
{
    const QStringList paths = List(folder);
    qint64 total = 0;
    for (const QString& path : paths)
        total += QFileInfo(path).size();
    const QDateTime oldest = QDateTime::currentDateTime().addDays(-limits.keepDays);
    QStringList deleted;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const qint64 size = info.size();
        const QDateTime written = info.lastModified();
        if (total <= limits.keepBytes && written >= oldest)
            break;
        if (keep.contains(path))
            continue;
        const std::unique_ptr<QLockFile> lock = CLiveRecorder::Claim(path);
        if (!lock || !QFile::remove(path)) {
            qCInfo(lcStorage) << "retention: not deleted, in use or refused:" << path;
            continue;
        }
        qCInfo(lcStorage) << "retention: deleted the oldest recording" << path << size << "bytes, last written"
                          << written.toString(Qt::ISODate);
        total -= size;
        deleted.append(path);
    }
    return deleted;
}
