#include "baseline/CLogBaselineFlags.h"

#include "IRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "baseline/CBaselineComparator.h"
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

qsizetype CLogBaselineFlags::Show(const CBaseline& baseline, double marginDb, const QList<CRecord>& records, int kind)
{
    const QList<BASELINE_FLAG> flags = Compare(baseline, marginDb, records, kind);
    m_pMarks->SetSpans(Spans(flags));
    AddRows(m_pList, flags);
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

void CLogBaselineFlags::AddRows(QTreeWidget* list, const QList<BASELINE_FLAG>& flags)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(flags.size());
    for (const BASELINE_FLAG& flag : flags)
        items.append(FlagRow(flag));
    list->addTopLevelItems(items);
}

int CLogBaselineFlags::LineOf(int band)
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    return gui ? gui->RealtimeLineOfBand(band) : -1;
}
