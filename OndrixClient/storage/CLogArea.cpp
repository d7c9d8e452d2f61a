#include "storage/CLogArea.h"

#include "IDeviceGui.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "app/ClientLog.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramMenu.h"
#include "files/CDataFile.h"
#include "files/CStoredRecords.h"
#include "proxy/CMetaDevice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

CLogArea::CLogArea(const WIDGETS& widgets, QWidget* window)
    : QObject(window)
    , m_widgets(widgets)
    , m_pWindow(window)
    , m_notes(widgets.diagram, widgets.list)
{
    CDiagramMenu::Attach(widgets.diagram);
}

void CLogArea::Open(const QString& path)
{
    QStatusBar* statusBar = m_widgets.statusBar;
    statusBar->showMessage(tr("Loading file..."));
    statusBar->repaint();
    QList<CRecord> records;
    int kind = 0;
    if (!Load(path, records, kind)) {
        statusBar->clearMessage();
        QMessageBox::warning(m_pWindow, QCoreApplication::applicationName(), tr("An error occured loading the file!"));
        return;
    }
    Show(records, kind);
    if (m_bListed)
        m_strListedName = QFileInfo(path).fileName();
    QString notesError;
    if (m_notes.Show(path, records, m_bListed, notesError) && !m_bListed)
        ShowListPage(true);
    statusBar->showMessage(notesError.isEmpty() ? tr("A file loaded") : notesError);
    Q_EMIT opened(path, records, kind, m_bListed);
}

bool CLogArea::Load(const QString& path, QList<CRecord>& records, int& kind)
{
    CMetaDevice* device = CClientSession::Device();
    QString type;
    qint32 fileKind = 0;
    CDataFile::Result result = CDataFile::OpenFailed;
    QString error;
    if (!device
        || !CGuardedCall::Run(
            [&] { result = CStoredRecords::Load(path, device->GetDevID(), records, fileKind, &type); }, &error)) {
        qCWarning(lcStorage) << "not loaded:" << path << error;
        return false;
    }
    if (result == CDataFile::WrongDevice) {
        // The name comes from the file: shown as it is, never as markup.
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
            tr("This log file is for ") + type.left(64) + tr(" device!"), QMessageBox::Ok, m_pWindow);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    if (result != CDataFile::Ok)
        return false;
    kind = fileKind;
    return true;
}

void CLogArea::Show(const QList<CRecord>& records, int kind)
{
    DrawRecords(records, kind);
    if (kind == 2)
        ShowLogList(records);
    else
        HideLogList();
}

void CLogArea::DrawRecords(const QList<CRecord>& records, int kind)
{
    Draw(m_widgets.diagram, CClientSession::DeviceGui(), records, kind, kind == 2);
}

void CLogArea::Draw(CQDiagramWidget* diagram, IDeviceGui* gui, const QList<CRecord>& records, int kind, bool allBands)
{
    diagram->Clear(true);
    if (records.isEmpty() || !gui) {
        diagram->update();
        return;
    }
    const int mode = kind == 1 || kind == 2 ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
    gui->InitRealtimeDiagram(diagram, allBands, mode);
    const auto [earliest, latest] = std::minmax_element(records.begin(), records.end(),
        [](const CRecord& a, const CRecord& b) { return a.time < b.time; });
    // Two seconds of margin, kept inside the range of the times.
    const quint64 margin = 2;
    const QVariant from = QVariant::fromValue<quint64>(earliest->time - std::min(earliest->time, margin));
    const QVariant to = QVariant::fromValue<quint64>(latest->time + std::min(~latest->time, margin));
    diagram->SetMaxXRange(from, to, 1.0, false);
    diagram->SetVisibleXRange(from, to);
    for (const CRecord& record : records)
        gui->AddRealtimeRecord(diagram, record, mode);
    diagram->update();
}

void CLogArea::ShowLogList(const QList<CRecord>& records)
{
    ShowListPage(true);
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->FillLogList(m_widgets.list, records);
    m_widgets.countLabel->show();
    m_widgets.countEdit->show();
    m_widgets.countEdit->setText(QString::number(records.size()));
    m_bListed = true;
    m_listed = records;
    m_strListedName.clear();
}

void CLogArea::HideLogList()
{
    m_widgets.list->clear();
    m_bListed = false;
    m_listed.clear();
    m_strListedName.clear();
    ShowListPage(false);
    m_widgets.countLabel->hide();
    m_widgets.countEdit->hide();
}

bool CLogArea::ListedEvents(QList<CRecord>& records, QString& name) const
{
    records = m_listed;
    name = m_strListedName;
    return m_bListed;
}

void CLogArea::ShowListPage(bool show)
{
    QTabWidget* tabs = m_widgets.pages;
    if (show && m_pListTabWidget) {
        tabs->insertTab(1, m_pListTabWidget, tr("List"));
        m_pListTabWidget = nullptr;
    } else if (!show && tabs->count() > 1) {
        // Still owned by the tab widget's stack, hidden until put back.
        m_pListTabWidget = tabs->widget(1);
        tabs->removeTab(1);
    }
}
