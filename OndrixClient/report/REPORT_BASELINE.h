#pragma once

#include "baseline/BASELINE_FLAG.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the report's section "Compared with the baseline of SITE, DATE"
// shows (CReportBaseline fills it): the bands that stood over their
// baseline, each time they did.
struct REPORT_BASELINE
{
    QString site; // empty: the report has no such section
    QDateTime captured;
    double dMargin = 0.0; // dB over each band's 95th percentile
    QList<BASELINE_FLAG> flags;
    qint64 nDropped = 0; // intervals past those kept
};
