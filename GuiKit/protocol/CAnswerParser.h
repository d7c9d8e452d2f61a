#pragma once

#include "CLogRecord.h"
#include "CRecord.h"
#include "GuiKitExport.h"
#include "protocol/LIVE_STATE.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Turns the payload of a server answer into values. Fields are separated by
// ":" with empty fields kept. A list whose counts promise more than the
// answer holds ends at the last field present: missing numbers read as 0,
// missing text as empty, and nothing is ever sized by a count the server
// announced.
class GUIKIT_EXPORT CAnswerParser
{
public:
    // A base-10 integer; anything else is 0.
    static int ToNumber(QByteArrayView answer);
    static bool ToFlag(QByteArrayView answer);
    // The bytes as Latin-1 text.
    static QString ToText(QByteArrayView answer);
    static QStringList ToFields(QByteArrayView answer);
    // A count, then that many records.
    static QList<CRecord> ToRecordList(QByteArrayView answer);
    // A count, then that many banks: name, type, record count, records.
    static QList<CLogRecord> ToLogList(QByteArrayView answer);
    // One record; false when the answer has fewer than minFields fields.
    static bool ToRecord(QByteArrayView answer, int minFields, CRecord& record);
    // The combined state; false unless the answer is exactly its numbers,
    // which is how a server that does not know the request is told apart.
    static bool ToLiveState(QByteArrayView answer, LIVE_STATE& state);

    // One record or bank from fields already split, starting at index, which
    // is moved past what was read.
    static CRecord ReadRecord(const QStringList& fields, int& index);
    static CLogRecord ReadLogRecord(const QStringList& fields, int& index);

private:
    class CByteCursor;
    class CListCursor;

    template <typename Cursor>
    static CRecord Read(Cursor& cursor);
    template <typename Cursor>
    static CLogRecord ReadBank(Cursor& cursor);
};
