#include "files/CNoteCodec.h"

#include "files/CByteReader.h"
#include "files/CByteWriter.h"

QString CNoteCodec::Refusal(const QString& text)
{
    if (text.trimmed().isEmpty())
        return tr("The note is empty.");
    if (text.size() > MAX_CHARS)
        return tr("The note is %1 characters long; a note holds at most %2.").arg(text.size()).arg(MAX_CHARS);
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return tr("The note holds a control character (code %1); a note is one line of plain text.")
                .arg(c.unicode());
    }
    return QString();
}

QByteArray CNoteCodec::Encode(const NOTE& note)
{
    CByteWriter writer;
    writer.Put<quint64>(note.timeMs);
    writer.PutText(note.text);
    return writer.m_bytes;
}

bool CNoteCodec::Decode(QByteArrayView payload, NOTE& note)
{
    CByteReader reader(payload);
    NOTE read;
    read.timeMs = reader.Get<quint64>();
    QByteArray lastBytes;
    read.text = reader.GetText(lastBytes, QString());
    if (!reader.Ok() || !reader.AtEnd() || !Refusal(read.text).isEmpty())
        return false;
    note = read;
    return true;
}
