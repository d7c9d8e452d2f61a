#include "CRecordingDeviceGui.h"

#include "CTestVirtualDevice.h"
#include "IDevice.h"
#include "ISpecificControls.h"
#include "diagram/CQDiagramWidget.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>

CRecordingDeviceGui::CRecordingDeviceGui(const QString& type)
    : m_strType(type)
    , m_pPanel(new CTestVirtualDevice)
{
}

CRecordingDeviceGui::~CRecordingDeviceGui()
{
    delete m_pPanel;
}

int CRecordingDeviceGui::Count(const QString& call) const
{
    return int(std::count_if(m_calls.begin(), m_calls.end(),
        [&call](const QString& line) { return line == call || line.startsWith(call + QLatin1Char(':')); }));
}

void CRecordingDeviceGui::ClearCalls()
{
    m_calls.clear();
    m_times.clear();
    setProperty("calls", m_calls);
}

void CRecordingDeviceGui::Log(const QString& call)
{
    m_calls.append(call);
    setProperty("calls", m_calls);
}

bool CRecordingDeviceGui::SetDevice(IDevice* device)
{
    m_pDevice = device;
    Log(QStringLiteral("SetDevice:") + (device ? device->GetDevID() : QStringLiteral("null")));
    return true;
}

QString CRecordingDeviceGui::GetDeviceType()
{
    return m_strType;
}

IVirtualDevice* CRecordingDeviceGui::GetVirtualDevice()
{
    return m_pPanel;
}

void CRecordingDeviceGui::Start()
{
    Log(QStringLiteral("Start"));
}

void CRecordingDeviceGui::Stop()
{
    Log(QStringLiteral("Stop"));
}

void CRecordingDeviceGui::SetSpecificControls(ISpecificControls* host)
{
    Log(QStringLiteral("SetSpecificControls"));
    if (!host || m_pButton)
        return;
    m_pButton = new QPushButton(QStringLiteral("Spectrum"));
    m_pButton->setObjectName(QStringLiteral("m_pTestOptionalButton"));
    host->AddOptionalButton(m_pButton);
}

void CRecordingDeviceGui::InitRealtimeDiagram(CQDiagramWidget* diagram, bool allBands, int mode)
{
    Log(QStringLiteral("InitRealtimeDiagram:%1:%2").arg(allBands).arg(mode));
    diagram->SetSingleDiagramArea();
    diagram->SetMaxYRange(-102, 0, 1.0);
    diagram->AddLine(0, QStringLiteral("Level"), QPen(Qt::green), 0, true);
}

void CRecordingDeviceGui::AddRealtimeRecord(CQDiagramWidget* diagram, const CRecord& record, int mode)
{
    Log(QStringLiteral("AddRealtimeRecord:%1:%2").arg(record.time).arg(mode));
    m_times.append(record.time);
    diagram->AddValue(0, 0, QVariant::fromValue<quint64>(record.time),
        record.values.isEmpty() ? 0.0 : record.values.first().level, 0);
}

void CRecordingDeviceGui::InitLogList(QTreeWidget* list)
{
    Log(QStringLiteral("InitLogList"));
    list->setColumnCount(3);
}

void CRecordingDeviceGui::FillLogList(QTreeWidget* list, const QList<CRecord>& records)
{
    Log(QStringLiteral("FillLogList:%1").arg(records.size()));
    list->clear();
    for (const CRecord& record : records)
        list->addTopLevelItem(new QTreeWidgetItem(list, { QString::number(record.time) }));
}

void CRecordingDeviceGui::SetLanguage(const QString& language)
{
    Log(QStringLiteral("SetLanguage:") + language);
}

void CRecordingDeviceGui::ShowManual(const QString& language, QTextBrowser* browser)
{
    Log(QStringLiteral("ShowManual:") + language);
    browser->setHtml(ManualText(language));
}

QString CRecordingDeviceGui::ManualText(const QString& language)
{
    if (language == QLatin1String("ru_RU"))
        return QStringLiteral("<h1>Руководство</h1><p>Детектор ищет сигнал. Сигнал тревоги.</p>");
    return QStringLiteral("<h1>Manual</h1><p>The detector finds the signal. The alarm signal sounds.</p>");
}

void CRecordingDeviceGui::UpdateSpectrumButton()
{
    Log(QStringLiteral("UpdateSpectrumButton"));
}

bool CRecordingDeviceGui::SampleSpectrum(quint64 time, SPECTRUM_SWEEP& sweep, bool show)
{
    if (m_next.isEmpty())
        return false;
    sweep = m_next.takeFirst();
    sweep.time = time;
    Log(QStringLiteral("SampleSpectrum:%1").arg(show ? 1 : 0));
    if (show)
        m_shown.append(sweep);
    return true;
}

void CRecordingDeviceGui::ShowSweep(const SPECTRUM_SWEEP& sweep)
{
    Log(QStringLiteral("ShowSweep"));
    m_shown.append(sweep);
}

void CRecordingDeviceGui::ClearSweeps()
{
    Log(QStringLiteral("ClearSweeps"));
    m_shown.clear();
}

void CRecordingDeviceGui::OpenSpectrumWindow()
{
    Log(QStringLiteral("OpenSpectrumWindow"));
}

void CRecordingDeviceGui::SetNextSweep(const SPECTRUM_SWEEP& sweep)
{
    m_next.append(sweep);
}
