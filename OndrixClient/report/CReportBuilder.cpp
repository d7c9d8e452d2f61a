#include "report/CReportBuilder.h"

#include "IDevice.h"
#include "app/CGuardedCall.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramExport.h"
#include "files/CDataFile.h"
#include "files/CStoredRecords.h"
#include "report/CReportNotes.h"
#include "report/CReportWriter.h"
#include "storage/CLogArea.h"

#include <QFileInfo>

namespace {

QDateTime LocalTime(quint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(qint64(std::min<quint64>(seconds, quint64(253402300799))));
}

void SetRange(REPORT_INPUT& input)
{
    if (input.data.IsEmpty())
        return;
    input.from = LocalTime(input.data.First());
    input.to = LocalTime(input.data.Last());
}

} // namespace

QString CReportBuilder::KindText(int kind)
{
    switch (kind) {
    case CReportData::KIND_LOG: return tr("event log");
    case 1: return tr("live data, automatic mode (all bands)");
    default: return tr("live data, one band");
    }
}

QString CReportBuilder::SettingsText(const QList<int>& kinds, const CReportData& data)
{
    QStringList modes;
    for (const int kind : kinds) {
        if (!modes.contains(KindText(kind)))
            modes.append(KindText(kind));
    }
    QStringList thresholds;
    for (const REPORT_BAND& band : data.Bands())
        thresholds.append(QStringLiteral("%1 %2").arg(band.name, CReportWriter::FormatLevel(band.threshold)));
    QStringList lines;
    if (!modes.isEmpty())
        lines.append(tr("Mode: %1").arg(modes.join(QStringLiteral("; "))));
    if (!thresholds.isEmpty())
        lines.append(tr("Thresholds: %1").arg(thresholds.join(QStringLiteral(", "))));
    return lines.join(QLatin1Char('\n'));
}

bool CReportBuilder::FromFiles(const QStringList& paths, const QString& deviceType, IDeviceGui* gui,
    REPORT_INPUT& input, QString& error)
{
    REPORT_INPUT built;
    built.paper = input.paper;
    QStringList devices;
    QList<int> kinds;
    for (const QString& path : paths) {
        QList<CRecord> records;
        qint32 kind = 0;
        QString type;
        CDataFile::Result result = CStoredRecords::Load(path, deviceType, records, kind, &type);
        if (result == CDataFile::WrongDevice && deviceType.isEmpty())
            result = CStoredRecords::Load(path, type, records, kind, &type);
        const QString name = QFileInfo(path).fileName();
        if (result != CDataFile::Ok) {
            error = result == CDataFile::WrongDevice
                ? tr("%1 holds data of another device (%2).").arg(name, type.left(64))
                : tr("%1 cannot be read.").arg(name);
            return false;
        }
        if (!devices.contains(type))
            devices.append(type);
        kinds.append(kind);
        built.sources.append(name);
        built.data.Add(records, kind);
        CReportNotes::Add(path, records, built.notes);
        if (gui)
            built.diagrams.append(Diagram(gui, records, kind, name));
    }
    built.detectorId = devices.join(QStringLiteral(", "));
    built.settings = SettingsText(kinds, built.data);
    SetRange(built);
    input = built;
    return true;
}

bool CReportBuilder::FromLive(IDevice* device, REPORT_INPUT& input, QString& error, const QList<NOTE>& notes)
{
    if (!device) {
        error = tr("No device is connected.");
        return false;
    }
    QList<CRecord> records;
    QString type;
    int mode = 0;
    if (!CGuardedCall::Run(
            [&] {
                type = device->GetDevID();
                mode = device->GetCurrentMode();
                records = device->GetRealtimeRecords();
            },
            &error))
        return false;
    const int kind = mode == IDevice::MODE_AUTO ? 1 : 0;
    input.data = CReportData();
    input.data.Add(records, kind);
    input.notes = CNoteReadings::For(notes, records);
    input.detectorId = type;
    input.sources = QStringList { tr("Live session") };
    input.settings = SettingsText({ kind }, input.data);
    input.diagrams.clear();
    SetRange(input);
    return true;
}

REPORT_DIAGRAM CReportBuilder::Diagram(IDeviceGui* gui, const QList<CRecord>& records, int kind, const QString& caption)
{
    CQDiagramWidget diagram;
    diagram.resize(DIAGRAM_WIDTH, DIAGRAM_HEIGHT);
    CLogArea::Draw(&diagram, gui, records, kind, true);
    return Picture(&diagram, caption);
}

REPORT_DIAGRAM CReportBuilder::Picture(QWidget* widget, const QString& caption, const QSize& size)
{
    return REPORT_DIAGRAM { caption, CDiagramExport::ToPicture(widget, size) };
}
