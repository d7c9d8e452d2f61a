// The log download from the simulated detector into the storage folder, and
// the saving of banks against whatever a device may hand over.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "files/CDataFile.h"
#include "files/CLogSaver.h"
#include "mainwindow/CMainWindow.h"
#include "mainwindow/CProgressDialog.h"
#include "proxy/CMetaDevice.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

QStringList LogFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("*.ldf") }, QDir::Files, QDir::Name);
}

int EventsIn(const QString& file)
{
    QList<CRecord> records;
    qint32 kind = 0;
    if (CDataFile::Load(file, QStringLiteral("RZ450"), records, kind) != CDataFile::Ok || kind != 2)
        return -1;
    return int(records.size());
}

CLogRecord Bank(const QString& name, int events)
{
    CLogRecord bank;
    bank.name = name;
    bank.type = 2;
    for (int i = 0; i < events; ++i)
        bank.records.append(CRecord());
    return bank;
}

} // namespace

class TestLogDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void banksBecomeFilesAndTheNewestShows();
    void noEventsFailureRetryAndCancel();
    void unwritableFolderGivesAnError();
    void saverKeepsBanksApartAndInsideTheFolder();

private:
    void Start();
    QTreeWidget* Tree() { return m_pWindow->findChild<QTreeWidget*>(QStringLiteral("m_pStorageTree")); }
    void ClickDownload() { m_pWindow->findChild<QPushButton*>(QStringLiteral("m_pDownloadButton"))->click(); }

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CRZ450Simulator> m_pSim;
    std::unique_ptr<CPtyServer> m_pServer;
    std::unique_ptr<CRZ450Device> m_pDriver;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    std::unique_ptr<CMainWindow> m_pWindow;
    CMetaDevice* m_pDevice = nullptr;
    QString m_strStorage;
};

void TestLogDownload::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_pDir = std::make_unique<QTemporaryDir>();
    m_strStorage = m_pDir->filePath(QStringLiteral("storage"));
    QDir().mkpath(m_strStorage);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pDir->path());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings().setValue(QStringLiteral("General/Language"), QStringLiteral("en_US"));
    QSettings().setValue(QStringLiteral("General/StoragePath"), m_strStorage);
    m_pSim = std::make_unique<CRZ450Simulator>();
    m_pSim->SetFrozen(true);
    m_pSim->ClearLog();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("RZ450"));
}

void TestLogDownload::cleanup()
{
    m_pWindow.reset();
    CClientSession::Release(); // the proxy, before the driver it wraps
    m_pDriver.reset();
    m_pServer.reset();
    m_pSim.reset();
    m_pGui.reset();
    qunsetenv("RZ450_PORT");
}

void TestLogDownload::Start()
{
    m_pServer = std::make_unique<CPtyServer>(m_pSim.get());
    const QString link = m_pDir->filePath(QStringLiteral("ttyRZ450"));
    QVERIFY(m_pServer->Start(link));
    qputenv("RZ450_PORT", link.toLocal8Bit());
    m_pDriver = std::make_unique<CRZ450Device>(QStringLiteral("no-such-d2xx-library"));
    m_pDriver->SetLinkTimeout(400);
    m_pDevice = new CMetaDevice(m_pDriver.get());
    m_pDevice->Initialize();
    CClientSession::SetCurrent(m_pDevice, m_pGui.get());
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    m_pWindow = std::make_unique<CMainWindow>();
    // The unpaced detector makes live records by the thousand; the download
    // needs no poll.
    m_pWindow->findChild<QTimer*>(QStringLiteral("m_timer"))->stop();
    Tree()->setCurrentItem(nullptr);
    m_pGui->ClearCalls();
}

void TestLogDownload::banksBecomeFilesAndTheNewestShows()
{
    const int year = QDate::currentDate().year();
    m_pSim->AddLogEvent(2, 80, 60, QDateTime(QDate(year, 3, 9), QTime(14, 5, 7)), 300);
    m_pSim->AddLogEvent(9, 70, 60, QDateTime(QDate(year, 3, 9), QTime(14, 6, 0)), 2);
    Start();
    const int bank = m_pSim->Bank();
    m_pDevice->SetRequest(IDevice::NewBank);
    QTRY_COMPARE(m_pSim->Bank(), bank + 1);
    for (int i = 0; i < 10; ++i)
        m_pSim->AddLogEvent(i, 90, 60, QDateTime(QDate(year, 3, 10), QTime(9, 0, i)), 1);
    CModalWatcher watcher;
    ClickDownload(); // nothing current: into the root
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("The log has been successfully read!") }));
    QCOMPARE(LogFiles(m_strStorage),
        QStringList({ QStringLiteral("log_0309_1405.ldf"), QStringLiteral("log_0310_0900.ldf") }));
    QCOMPARE(EventsIn(m_strStorage + QStringLiteral("/log_0309_1405.ldf")), 2);
    QCOMPARE(EventsIn(m_strStorage + QStringLiteral("/log_0310_0900.ldf")), 10);
    // The tree has both, and the newest is in the list and the diagram.
    QCOMPARE(Tree()->topLevelItem(0)->childCount(), 2);
    QCOMPARE(Tree()->currentItem()->text(0), QStringLiteral("log_0310_0900"));
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("FillLogList:10")));
    QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 10);
    QCOMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("The log has been downloaded and parsed"));
}

void TestLogDownload::noEventsFailureRetryAndCancel()
{
    Start();
    CModalWatcher watcher;
    ClickDownload();
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("No new events!") }));

    m_pSim->FillLog(10, 1);
    m_pSim->InjectBadChecksum(3);
    watcher.Reset();
    ClickDownload(); // Yes to the retry
    QCOMPARE(watcher.MessageTexts(),
        QStringList({ QStringLiteral("An error occured reading the log. Retry?"),
            QStringLiteral("The log has been successfully read!") }));
    QCOMPARE(LogFiles(m_strStorage).size(), 1);
    QVERIFY(QDir(m_strStorage).removeRecursively() && QDir().mkpath(m_strStorage));

    // Cancelled while the detector still sends, and no retry: nothing saved.
    m_pServer->SetPaced(true);
    m_pSim->SetWrappedLog();
    watcher.Reset();
    watcher.SetAnswer(QMessageBox::No);
    watcher.SetHandler([](QWidget* modal) {
        auto* progress = qobject_cast<CProgressDialog*>(modal);
        if (progress)
            progress->findChild<QPushButton*>(QStringLiteral("m_pCancelButton"))->click();
        return progress != nullptr;
    });
    ClickDownload();
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("An error occured reading the log. Retry?") }));
    QVERIFY(LogFiles(m_strStorage).isEmpty());
    QVERIFY(m_pWindow->statusBar()->currentMessage().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(m_pDevice->GetLogLoadProgress(), 100, 10000);
}

void TestLogDownload::unwritableFolderGivesAnError()
{
    m_pSim->FillLog(2, 1);
    const QString sub = m_strStorage + QStringLiteral("/sub");
    QVERIFY(QDir().mkpath(sub));
    Start();
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    // The folder was replaced behind the program's back (root writes
    // anywhere, so no permission bits would do).
    QVERIFY(QDir(sub).removeRecursively());
    QFile blocker(sub);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CModalWatcher watcher;
    ClickDownload();
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("Error loading events!") }));
    QCOMPARE(watcher.Messages().first().icon, int(QMessageBox::Warning));
}

void TestLogDownload::saverKeepsBanksApartAndInsideTheFolder()
{
    CFakeDevice device(QStringLiteral("RZ450"));
    CLogSaver saver(&device);
    const QString folder = m_pDir->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));

    // Two banks begun within one minute keep both their events; a bank
    // without events is no file. Saved again, the same files come back.
    device.SetLogRecords({ Bank(QStringLiteral("log_0101_1000.ldf"), 2), Bank(QString(), 0),
        Bank(QStringLiteral("log_0101_1000.ldf"), 1) });
    for (int run = 0; run < 2; ++run)
        QCOMPARE(saver.Save(folder), CLogSaver::Saved);
    QCOMPARE(LogFiles(folder),
        QStringList({ QStringLiteral("log_0101_1000.ldf"), QStringLiteral("log_0101_1000_2.ldf") }));
    QCOMPARE(EventsIn(folder + QStringLiteral("/log_0101_1000.ldf")), 2);
    QCOMPARE(EventsIn(folder + QStringLiteral("/log_0101_1000_2.ldf")), 1);

    device.SetLogRecords({ Bank(QString(), 0) });
    QCOMPARE(saver.Save(folder), CLogSaver::NoEvents);
    QCOMPARE(saver.Save(QString()), CLogSaver::Failed);
    // A name from the device never leads out of the folder.
    for (const char* name : { "../escape.ldf", "/tmp/escape.ldf", "..", "a\\b.ldf" }) {
        device.SetLogRecords({ Bank(QLatin1String(name), 1) });
        QCOMPARE(saver.Save(folder), CLogSaver::Failed);
    }
    QVERIFY(LogFiles(m_pDir->path()).isEmpty());
}

QTEST_MAIN(TestLogDownload)
#include "tst_LogDownload.moc"
