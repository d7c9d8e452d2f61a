#pragma once

#include "report/REPORT_INPUT.h"

#include <QCoreApplication>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class IDevice;
class IDeviceGui;
class QWidget;

// The input of a sweep report (REPORT_INPUT): the figures, the title
// block's defaults (date range, detector, its mode and thresholds as the
// records have them, the sources) and the diagram pictures, from data files
// or from the live session. The report dialog lets the user change the
// title block before CReportWriter writes it.
class CReportBuilder
{
    Q_DECLARE_TR_FUNCTIONS(CReportBuilder)

public:
    // The size a diagram is laid out at for a report.
    static constexpr int DIAGRAM_WIDTH = 960;
    static constexpr int DIAGRAM_HEIGHT = 600;

    // Data files (.ldf, .rdf) of deviceType, or of any device when it is
    // empty; one diagram for each file, drawn by gui as the log area draws
    // it (no diagrams without a gui). False, with error naming the file,
    // when one cannot be read: input is then left as it was.
    static bool FromFiles(const QStringList& paths, const QString& deviceType, IDeviceGui* gui, REPORT_INPUT& input,
        QString& error);
    // The live records the device holds, with the session's notes; the
    // caller adds the pictures of what shows (Picture). False, with error,
    // when the device cannot be asked.
    static bool FromLive(IDevice* device, REPORT_INPUT& input, QString& error, const QList<NOTE>& notes = {});

    // Records drawn into a diagram of the report's size, never shown.
    static REPORT_DIAGRAM Diagram(IDeviceGui* gui, const QList<CRecord>& records, int kind, const QString& caption);
    // A widget as it shows (CDiagramExport::ToPicture at size).
    static REPORT_DIAGRAM Picture(QWidget* widget, const QString& caption, const QSize& size = QSize());

    // "Mode: ..." for the kinds of the data and "Thresholds: ..." for its
    // bands, one a line.
    static QString SettingsText(const QList<int>& kinds, const CReportData& data);
    static QString KindText(int kind);
};
