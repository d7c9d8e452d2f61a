#include "CRecordingRecovery.h"

#include "CDataFile.h"
#include "CLiveRecorder.h"
#include "CRealtimeFileName.h"
#include "CRecordingCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace {

CRecordingCodec::CONTENTS Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? CRecordingCodec::Decode(file.readAll()) : CRecordingCodec::CONTENTS();
}

QString Stamp(quint64 time)
{
    return QDateTime::fromSecsSinceEpoch(qint64(time)).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

} // namespace

void CRecordingRecovery::Offer(QWidget* parent, const QString& folder)
{
    const QString title = QCoreApplication::applicationName();
    const QStringList names = QDir(folder).entryList({ QStringLiteral("*.") + QLatin1String(CLiveRecorder::EXTENSION) },
        QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name);
        const CRecordingCodec::CONTENTS contents = Read(path);
        if (contents.status == CRecordingCodec::Newer || contents.status == CRecordingCodec::NotARecording) {
            QMessageBox::warning(parent, title, path + QLatin1Char('\n') + CRecordingCodec::Describe(contents));
            continue;
        }
        if (contents.records.isEmpty()) {
            QFile::remove(path);
            continue;
        }
        const QString question = tr("The live session was interrupted. Its recording holds %1 records from %2 to %3.\n"
                                    "Keep it as a data file?")
                                     .arg(contents.records.size())
                                     .arg(Stamp(contents.records.first().time), Stamp(contents.records.last().time));
        if (QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            QFile::remove(path);
            continue;
        }
        QString savedAs;
        QString error;
        if (!Keep(path, savedAs, error))
            QMessageBox::critical(parent, title, error);
    }
}

bool CRecordingRecovery::Keep(const QString& recording, QString& savedAs, QString& error)
{
    const CRecordingCodec::CONTENTS contents = Read(recording);
    if (contents.records.isEmpty()) {
        error = tr("Nothing to keep in %1: %2").arg(recording, CRecordingCodec::Describe(contents));
        return false;
    }
    const QString name = CRealtimeFileName::Make(tr("Recovered") + QLatin1Char('_'), contents.records.first().time);
    const QDir folder = QFileInfo(recording).dir();
    // Two sessions cut in the same minute must not overwrite each other.
    savedAs = folder.filePath(name + QStringLiteral(".rdf"));
    for (int copy = 2; QFile::exists(savedAs); ++copy)
        savedAs = folder.filePath(name + QLatin1Char('_') + QString::number(copy) + QStringLiteral(".rdf"));
    const qint32 kind = CRecordingCodec::IsAutomatic(contents.records) ? 1 : 0;
    if (!CDataFile::Save(savedAs, contents.device, kind, contents.records)) {
        error = tr("Failed to save %1!").arg(savedAs);
        return false;
    }
    QFile::remove(recording);
    return true;
}
