#include "notes/CLogNotes.h"

#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMarks.h"
#include "report/CReportNotes.h"
#include "report/CReportWriter.h"

#include <QDateTime>
#include <QTreeWidget>

namespace {

enum Column { NumColumn, BandColumn, TimeColumn, DurationColumn, LevelColumn, TextColumn };

QTreeWidgetItem* NoteRow(const NOTE_READING& reading)
{
    auto* item = new QTreeWidgetItem();
    item->setText(NumColumn, CLogNotes::tr("Note"));
    item->setText(TimeColumn,
        QDateTime::fromMSecsSinceEpoch(qint64(reading.note.timeMs)).toString(QStringLiteral("dd-MM hh:mm:ss")));
    if (reading.found) {
        item->setText(BandColumn, reading.bandName);
        item->setText(LevelColumn, CReportWriter::FormatLevel(reading.level));
    }
    item->setText(TextColumn, reading.note.text);
    item->setToolTip(TextColumn, reading.note.text);
    item->setData(NumColumn, CLogNotes::TIME_ROLE, QVariant::fromValue<quint64>(reading.note.Seconds()));
    for (int column = NumColumn; column <= TextColumn; ++column) {
        QFont font = item->font(column);
        font.setItalic(true);
        item->setFont(column, font);
        item->setForeground(column, CTimeMarks::COLOUR);
        item->setTextAlignment(column, column == TextColumn ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    return item;
}

} // namespace

CLogNotes::CLogNotes(CQDiagramWidget* diagram, QTreeWidget* list)
    : m_pMarks(new CTimeMarks(diagram))
    , m_pList(list)
{
    m_pMarks->setObjectName(QStringLiteral("m_pLogNoteMarks"));
}

bool CLogNotes::Show(const QString& path, const QList<CRecord>& records, bool listed, QString& error)
{
    QList<NOTE_READING> readings;
    QList<NOTE> notes;
    CReportNotes::Load(path, notes, error);
    readings = CNoteReadings::For(notes, records);
    QList<CTimeMarks::MARK> marks;
    for (const NOTE_READING& reading : std::as_const(readings))
        marks.append({ reading.note.Seconds(), reading.note.text });
    m_pMarks->SetMarks(marks);
    if (readings.isEmpty())
        return false;
    if (!listed)
        m_pList->clear();
    AddRows(m_pList, listed ? records : QList<CRecord>(), readings);
    return true;
}

void CLogNotes::AddRows(QTreeWidget* list, const QList<CRecord>& listed, const QList<NOTE_READING>& notes)
{
    // Rows past the records' own are rows added before: notes go among the
    // records only.
    qsizetype record = 0;
    int row = 0;
    for (const NOTE_READING& reading : notes) {
        while (record < listed.size() && row < list->topLevelItemCount()
            && listed.at(record).time <= reading.note.Seconds()) {
            ++record;
            ++row;
        }
        if (record >= listed.size())
            row = list->topLevelItemCount();
        list->insertTopLevelItem(row, NoteRow(reading));
        ++row;
    }
}
