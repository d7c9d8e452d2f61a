#include "files/CNotesFile.h"

#include "files/CFramedFile.h"
#include "files/CNoteCodec.h"
#include "files/CRecordingCodec.h"
#include "files/CRecordingFrames.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const char MAGIC[] = "ORZNOT";
// Far beyond any number of notes taken by hand.
const qint64 MAX_FILE_BYTES = qint64(16) << 20;

} // namespace

QString CNotesFile::PathFor(const QString& dataFile)
{
    return dataFile + QStringLiteral(".notes");
}

QByteArray CNotesFile::Encode(const QList<NOTE>& notes)
{
    QByteArray bytes = CFramedFile::Header(MAGIC, VERSION);
    for (const NOTE& note : notes)
        bytes += CRecordingFrames::Make(CRecordingCodec::KIND_NOTE, CNoteCodec::Encode(note));
    return bytes;
}

CNotesFile::CONTENTS CNotesFile::Decode(QByteArrayView bytes)
{
    CONTENTS contents;
    if (!CFramedFile::HasHeader(bytes, MAGIC, VERSION))
        return contents;
    contents.ok = true;
    const CFramedFile::READ read = CFramedFile::Frames(bytes, CRecordingCodec::KIND_NOTE, [&](QByteArrayView payload) {
        NOTE note;
        if (!CNoteCodec::Decode(payload, note))
            return false;
        contents.notes.append(note);
        return true;
    });
    contents.damagedPlaces = read.damagedPlaces;
    contents.cut = read.cut;
    return contents;
}

bool CNotesFile::Load(const QString& dataFile, QList<NOTE>& notes, QString& error)
{
    notes.clear();
    QFile file(PathFor(dataFile));
    if (!file.exists())
        return true;
    const QString name = QFileInfo(file.fileName()).fileName();
    if (file.size() > MAX_FILE_BYTES || !file.open(QIODevice::ReadOnly)) {
        error = tr("The notes file %1 cannot be read.").arg(name);
        return false;
    }
    const CONTENTS contents = Decode(file.readAll());
    notes = contents.notes;
    if (!contents.ok)
        error = tr("The notes file %1 is no notes file of this program; no notes were read from it.").arg(name);
    else if (contents.damagedPlaces > 0 || contents.cut)
        error = tr("The notes file %1 is damaged; %2 note(s) were read, the damaged ones are left out.")
                    .arg(name)
                    .arg(notes.size());
    return error.isEmpty();
}

bool CNotesFile::Save(const QString& dataFile, const QList<NOTE>& notes, QString& error)
{
    if (notes.isEmpty())
        return true;
    QSaveFile file(PathFor(dataFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(Encode(notes)) < 0 || !file.commit()) {
        error = tr("The notes could not be written to %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

bool CNotesFile::Move(const QString& dataFile, const QString& renamedTo)
{
    const QString from = PathFor(dataFile);
    return !QFile::exists(from) || QFile::rename(from, PathFor(renamedTo));
}

bool CNotesFile::Remove(const QString& dataFile)
{
    const QString path = PathFor(dataFile);
    return !QFile::exists(path) || QFile::remove(path);
}
