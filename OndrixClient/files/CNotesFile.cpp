#include "files/CNotesFile.h"

#include "files/CNoteCodec.h"
#include "files/CRecordingCodec.h"
#include "files/CRecordingFrames.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

const char MAGIC[] = "ORZNOT";
const int MAGIC_SIZE = 6;
const int HEADER_SIZE = MAGIC_SIZE + 2;
// Far beyond any number of notes taken by hand.
const qint64 MAX_FILE_BYTES = qint64(16) << 20;

} // namespace

QString CNotesFile::PathFor(const QString& dataFile)
{
    return dataFile + QStringLiteral(".notes");
}

QByteArray CNotesFile::Encode(const QList<NOTE>& notes)
{
    QByteArray bytes(MAGIC, MAGIC_SIZE);
    char version[2];
    qToLittleEndian<quint16>(VERSION, version);
    bytes.append(version, 2);
    for (const NOTE& note : notes)
        bytes += CRecordingFrames::Make(CRecordingCodec::KIND_NOTE, CNoteCodec::Encode(note));
    return bytes;
}

CNotesFile::CONTENTS CNotesFile::Decode(QByteArrayView bytes)
{
    CONTENTS contents;
    if (bytes.size() < HEADER_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_SIZE) != 0
        || qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE) != VERSION)
        return contents;
    contents.ok = true;
    CRecordingFrames frames(bytes.sliced(HEADER_SIZE), CRecordingCodec::VERSION, true);
    CRecordingFrames::FRAME frame;
    while (frames.Next(frame)) {
        NOTE note;
        if (frame.kind == CRecordingCodec::KIND_NOTE && CNoteCodec::Decode(frame.payload, note))
            contents.notes.append(note);
        else
            frames.Reject(frame);
    }
    contents.damagedPlaces = int(frames.Damage().size());
    contents.cut = frames.Status() == CRecordingCodec::Cut;
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
