#include "alerts/CAlertLogCodec.h"

#include "files/CByteReader.h"
#include "files/CByteWriter.h"
#include "files/CFramedFile.h"
#include "files/CRecordingFrames.h"

namespace {

const char MAGIC[] = "ORZALR";

QString Text(CByteReader& reader)
{
    const quint16 size = reader.Get<quint16>();
    return QString::fromUtf8(reader.Take(size));
}

} // namespace

QByteArray CAlertLogCodec::Header()
{
    return CFramedFile::Header(MAGIC, VERSION);
}

QByteArray CAlertLogCodec::Encode(const ENTRY& entry)
{
    const ALERT& alert = entry.alert;
    CByteWriter writer;
    writer.Put<quint8>(entry.entry);
    writer.Put<quint64>(alert.sequence);
    writer.PutText(alert.detector);
    writer.Put<qint32>(alert.band);
    writer.PutText(alert.bandName);
    writer.Put<qint64>(alert.startedMs);
    writer.Put<qint64>(alert.endedMs);
    writer.Put<qint32>(alert.levelDbm);
    writer.Put<qint32>(alert.peakDbm);
    writer.Put<quint8>(alert.overBaseline ? 1 : 0);
    writer.PutText(alert.acknowledgedBy);
    writer.Put<qint64>(alert.acknowledgedMs);
    return CRecordingFrames::Make(FRAME_KIND, writer.m_bytes);
}

bool CAlertLogCodec::DecodeEntry(QByteArrayView payload, ENTRY& entry)
{
    CByteReader reader(payload);
    const quint8 kind = reader.Get<quint8>();
    ALERT& alert = entry.alert;
    alert.sequence = reader.Get<quint64>();
    alert.detector = Text(reader);
    alert.band = reader.Get<qint32>();
    alert.bandName = Text(reader);
    alert.startedMs = reader.Get<qint64>();
    alert.endedMs = reader.Get<qint64>();
    alert.levelDbm = reader.Get<qint32>();
    alert.peakDbm = reader.Get<qint32>();
    const quint8 baseline = reader.Get<quint8>();
    alert.acknowledgedBy = Text(reader);
    alert.acknowledgedMs = reader.Get<qint64>();
    if (!reader.Ok() || !reader.AtEnd() || kind < Started || kind > Acknowledged || baseline > 1)
        return false;
    entry.entry = Entry(kind);
    alert.start = kind == Started;
    alert.overBaseline = baseline == 1;
    return true;
}

CAlertLogCodec::CONTENTS CAlertLogCodec::Decode(QByteArrayView bytes)
{
    CONTENTS contents;
    if (!CFramedFile::HasHeader(bytes, MAGIC, VERSION))
        return contents;
    contents.ok = true;
    contents.damagedPlaces = CFramedFile::Frames(bytes, FRAME_KIND, [&](QByteArrayView payload) {
        ENTRY entry;
        if (!DecodeEntry(payload, entry))
            return false;
        contents.entries.append(entry);
        return true;
    }).damagedPlaces;
    return contents;
}
