#pragma once

#include "CLogRecord.h"
#include "CRecord.h"
#include "GuiKitExport.h"
#include "protocol/LIVE_STATE.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Writes one framed answer of the server in the text forms CAnswerParser
// reads: the start marker goes in first, the fields after it, the end
// marker last, so that a list of a whole ring of records is written once
// into one buffer and never copied.
class GUIKIT_EXPORT CAnswerWriter
{
public:
    CAnswerWriter();

    void Number(qint64 value);
    // Latin-1; a ':' in the text would split it, so it goes as ';'.
    void Text(const QString& text);
    void Bytes(QByteArrayView bytes);
    void Fields(const QStringList& fields);
    // One record, padded with empty fields to at least minFields.
    void Record(const CRecord& record, int minFields = 0);
    void RecordList(const QList<CRecord>& records);
    void LogList(const QList<CLogRecord>& banks);
    void LiveState(const LIVE_STATE& state);

    // The whole answer; the writer is empty afterwards.
    QByteArray Frame();
    // An answer carrying nothing: what a request nobody knows gets.
    static QByteArray Empty();

private:
    void Separator();
    void Double(double value);
    void Integer(qint64 value);
    void Unsigned(quint64 value);
    int WriteRecord(const CRecord& record);

    QByteArray m_answer;
};
