#pragma once

#include "alerts/ALERT.h"
#include "baseline/CBaselineComparator.h"
#include "report/CNoteReadings.h"
#include "report/CReportData.h"
#include "report/REPORT_BASELINE.h"

#include <QDateTime>
#include <QList>
#include <QPageSize>
#include <QPicture>
#include <QString>
#include <QStringList>

// One picture of a report: a diagram drawn as vectors (CDiagramExport::
// ToPicture), its bounding rectangle the size it was laid out at.
struct REPORT_DIAGRAM
{
    QString caption;
    QPicture picture;
};

// Everything a sweep report shows. The title block's texts are the user's
// (the report dialog shows them for editing); CReportBuilder fills them
// with defaults from the data.
struct REPORT_INPUT
{
    QString site;
    QString operatorName;
    QString detectorId;
    // The detector's main settings: several lines.
    QString settings;
    QDateTime from;
    QDateTime to;
    // What the report was made from: file names, or the live session.
    QStringList sources;
    CReportData data;
    QList<REPORT_DIAGRAM> diagrams;
    // The operator's notes, in time order.
    QList<NOTE_READING> notes;
    // The site whose newest baseline the data is compared with; empty for
    // none. The report's options set it; CReportBaseline fills baseline.
    QString baselineSite;
    double baselineMarginDb = CBaselineComparator::DEFAULT_MARGIN_DB;
    REPORT_BASELINE baseline;
    // The alerts of the time range, from the alert log (CReportAlerts).
    QList<ALERT> alerts;
    QPageSize::PageSizeId paper = QPageSize::A4;
};
