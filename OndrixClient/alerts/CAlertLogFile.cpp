#include "alerts/CAlertLogFile.h"

#include "files/CDiskSync.h"
#include "files/CFramedFile.h"
#include "files/RecordingSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString CAlertLogFile::PathIn(const QString& storage)
{
    return QDir(storage).filePath(QLatin1String(RecordingSettings::FOLDER) + QStringLiteral("/alerts.orzalert"));
}

bool CAlertLogFile::Append(const QString& path, const CAlertLogCodec::ENTRY& entry, QString& error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = tr("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QFile file(path);
    const bool created = !file.exists();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        error = tr("The alert log %1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray header = CAlertLogCodec::Header();
    if (file.size() > 0 && (!file.seek(0) || file.read(header.size()) != header)) {
        error = tr("%1 is no alert log of this program: it is left as it is.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QByteArray bytes = (file.size() == 0 ? header : QByteArray()) + CAlertLogCodec::Encode(entry);
    if (file.write(bytes) != bytes.size() || !file.flush() || !CDiskSync::SyncData(file)
        || (created && !CDiskSync::SyncFolder(folder))) {
        error = tr("The alert log %1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool CAlertLogFile::Load(const QString& path, CAlertList& list, QString& error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("The alert log %1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QByteArray bytes = file.read(CFramedFile::HEADER_SIZE);
    // A long log is read from the end; the frames find their way in at
    // the first sync marker after the cut.
    const bool fromEnd = file.size() - bytes.size() > MAX_READ_BYTES;
    if (fromEnd)
        file.seek(file.size() - MAX_READ_BYTES);
    bytes += file.readAll();
    const CAlertLogCodec::CONTENTS contents = CAlertLogCodec::Decode(bytes);
    if (!contents.ok) {
        error = tr("%1 is no alert log of this program.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    for (const CAlertLogCodec::ENTRY& entry : contents.entries)
        list.Apply(entry);
    // Read from the end, the bytes before the first whole frame are no damage.
    if (contents.damagedPlaces <= (fromEnd ? 1 : 0))
        return true;
    error = tr("The alert log %1 is damaged in %n place(s); the rest was read.", nullptr, contents.damagedPlaces)
                .arg(QDir::toNativeSeparators(path));
    return false;
}
