#include "baseline/CLogBaselineFlags.h"

#include "IRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "baseline/CBaselineComparator.h"
#include "notes/CLogNotes.h"
#include "protocol/CBandName.h"
#include "report/CReportWriter.h"

#include <QDateTime>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

enum Column { NumColumn, BandColumn, TimeColumn, DurationColumn, LevelColumn, TextColumn };

const int KIND_LOG = 2;

QTreeWidgetItem* FlagRow(const BASELINE_FLAG& flag)
{
    auto* item = new QTreeWidgetItem();
    item->setText(NumColumn, CLogBaselineFlags::tr("Baseline"));
    item->setText(BandColumn, CBandName::Plain(flag.name));
    item->setText(TimeColumn,
        QDateTime::fromSecsSinceEpoch(qint64(flag.start)).toString(QStringLiteral("dd-MM hh:mm:ss")));
    item->setText(DurationColumn, CReportWriter::FormatDuration(qint64(flag.end - flag.start) + 1));
    item->setText(LevelColumn, CReportWriter::FormatLevel(flag.dPeak));
    item->setText(TextColumn, CLogBaselineFlags::Text(flag));
    item->setData(NumColumn, CLogNotes::TIME_ROLE, QVariant::fromValue<quint64>(flag.start));
    item->setToolTip(TextColumn,
        CLogBaselineFlags::tr("From %1 to %2")
            .arg(CReportWriter::FormatTime(flag.start), CReportWriter::FormatTime(flag.end)));
    for (int column = NumColumn; column <= TextColumn; ++column) {
        QFont font = item->font(column);
        font.setItalic(true);
        item->setFont(column, font);
        item->setForeground(column, CBandFlagMarks::LABEL_COLOUR);
        item->setTextAlignment(column, column == TextColumn ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    return item;
}

} // namespace

CLogBaselineFlags::CLogBaselineFlags(CQDiagramWidget* diagram, QTreeWidget* list)
    : m_pMarks(new CBandFlagMarks(diagram))
    , m_pList(list)
{
    m_pMarks->setObjectName(QStringLiteral("m_pLogBaselineMarks"));
}

qsizetype CLogBaselineFlags::Show(const CBaseline& baseline, double marginDb, const QList<CRecord>& records, int kind,
    bool listed)
{
    const QList<BASELINE_FLAG> flags = Compare(baseline, marginDb, records, kind);
    m_pMarks->SetSpans(Spans(flags));
    AddRows(m_pList, listed ? records : QList<CRecord>(), flags);
    return flags.size();
}

void CLogBaselineFlags::Clear()
{
    m_pMarks->SetSpans({});
}

QList<BASELINE_FLAG> CLogBaselineFlags::Compare(const CBaseline& baseline, double marginDb,
    const QList<CRecord>& records, int kind)
{
    QList<CRecord> ordered = records;
    // A ring that wrapped is not in time order.
    std::stable_sort(ordered.begin(), ordered.end(),
        [](const CRecord& a, const CRecord& b) { return a.time < b.time; });
    CBaselineComparator comparator(baseline, marginDb);
    for (const CRecord& record : std::as_const(ordered)) {
        if (kind == KIND_LOG)
            comparator.AddEvent(record);
        else
            comparator.Add(record);
    }
    comparator.Finish();
    return comparator.Flags();
}

QString CLogBaselineFlags::Text(const BASELINE_FLAG& flag)
{
    return tr("Band %1 over baseline by %2 dB")
        .arg(CBandName::Plain(flag.name), QString::number(std::round(flag.dExcess * 10.0) / 10.0));
}

QList<CBandFlagMarks::SPAN> CLogBaselineFlags::Spans(const QList<BASELINE_FLAG>& flags)
{
    QList<CBandFlagMarks::SPAN> spans;
    spans.reserve(flags.size());
    for (const BASELINE_FLAG& flag : flags)
        spans.append({ flag.start, flag.end, LineOf(flag.band), CBandName::Plain(flag.name), Text(flag) });
    return spans;
}

void CLogBaselineFlags::AddRows(QTreeWidget* list, const QList<CRecord>& listed, const QList<BASELINE_FLAG>& flags)
{
    // The time of each row: an added row holds its own; the others are the
    // listed records', in their order.
    QList<quint64> times;
    times.reserve(list->topLevelItemCount() + flags.size());
    qsizetype record = 0;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QVariant time = list->topLevelItem(row)->data(0, CLogNotes::TIME_ROLE);
        if (time.isValid())
            times.append(time.toULongLong());
        else
            times.append(record < listed.size() ? listed.at(record++).time : ~quint64(0));
    }
    // Flags come by start: each goes after the last one placed.
    int row = 0;
    for (const BASELINE_FLAG& flag : flags) {
        while (row < times.size() && times.at(row) <= flag.start)
            ++row;
        list->insertTopLevelItem(row, FlagRow(flag));
        times.insert(row, flag.start);
        ++row;
    }
}

int CLogBaselineFlags::LineOf(int band)
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    return gui ? gui->RealtimeLineOfBand(band) : -1;
}
