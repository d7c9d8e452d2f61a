#pragma once

#include "report/REPORT_INPUT.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QString>

// The sweep report as a PDF file, A4 or Letter (REPORT_INPUT::paper):
//
//  - page 1: the title block (site, operator, date range, detector and its
//    main settings, the data it was made from) and the per-band summary
//    (threshold, alarms, peak level, total time over the threshold, and a
//    line for all bands);
//  - then the event table, from a page of its own, EventRowsPerPage()
//    rows a page, its header on every page;
//  - then, when the data was compared with a site's baseline, each time a
//    band stood over it (REPORT_BASELINE), from a page of its own;
//  - then the operator's notes, from a page of their own, each with the
//    band and level of the record nearest to it (CNoteReadings);
//  - then the diagram pictures, DIAGRAMS_PER_PAGE a page, each scaled to
//    its place with its proportions kept.
// Every page has a footer with its number and the count of pages. With
// the summary on one page, as any detector's 31 bands are, a report has
// 1 + ceil(events / EventRowsPerPage) + ceil(diagrams / DIAGRAMS_PER_PAGE)
// pages, and as many more as its baseline section and its notes fill; a longer summary goes on over further pages.
//
// The texts are the translations of the program's language (tr() in the
// context "CReportWriter", in ondrixclient_ru.ts): install the translator
// (CTranslationSet) before writing. Times show as local times.
//
// Needs a QGuiApplication (for the fonts) but no display and no window:
// the offscreen platform serves. The command-line program writes a report
// from data files with
//
//     REPORT_INPUT input;
//     QString error;
//     if (!CReportBuilder::FromFiles(files, QString(), gui, input, error)
//         || !CReportWriter::Write(input, pdfPath, error))
//         ... error says why, in the program's language
//
// (gui, a device GUI from the plug-ins, draws the diagrams; null leaves
// them out).
class CReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(CReportWriter)

public:
    static constexpr int RESOLUTION = 300; // dots per inch of the layout
    static constexpr int DIAGRAMS_PER_PAGE = 2;

    // Writes the report to a temporary file beside pdfPath and renames it
    // over pdfPath once it is whole: on failure nothing is left at pdfPath
    // (an older file stays as it was), false, and error says why.
    static bool Write(const REPORT_INPUT& input, const QString& pdfPath, QString& error);

    static int EventRowsPerPage(QPageSize::PageSizeId paper);

    // "1:02:03": hours, minutes and seconds, hours without a limit.
    static QString FormatDuration(qint64 seconds);
    static QString FormatLevel(double dbm);
    // A difference of levels: "12.0 dB".
    static QString FormatDb(double db);
    static QString FormatTime(quint64 secondsSinceEpoch);
};
