// The storage panel of the main window over a folder of its own: the tree
// as filled from disk, the folder and file operations, saving the live
// records and loading data files into the log area.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "diagram/CTimeMarks.h"
#include "files/CDataFile.h"
#include "files/CNotesFile.h"
#include "files/CRecordingCodec.h"
#include "live/CLiveRecorder.h"
#include "live/CRealtimeFileName.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"
#include "report/CReportDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

QStringList Texts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fillKeepsFoldersAndDataFilesOnly();
    void newFolderGoesToTheTargetFolder();
    void renameAndDelete();
    void deleteAllKeepsTheFiles();
    void realtimeSaveNamesAndNeverOverwrites();
    void recordingsShowNewestFirstAndLoad();
    void loadingSwitchesTheListPage();
    void notesGoWithTheirFile();
    void damagedOrForeignFilesDoNotLoad();
    void browseShowsTheChosenFolder();
    void deviceNamesStayInsideTheProgramFolder();
    void reportOfTheChosenFiles();

private:
    void MakeWindow();
    QString Path(const QString& relative) const { return m_pStorage->filePath(relative); }
    // Log files (.ldf) of kind 2 and realtime files (.rdf) of kind 0, each
    // with count records.
    void Write(const QStringList& files, int count = 3, const QString& device = QStringLiteral("FAKE"));
    QTreeWidget* Tree() const { return m_pWindow->findChild<QTreeWidget*>(QStringLiteral("m_pStorageTree")); }
    QTreeWidgetItem* Item(const QString& relative) const;
    // Nothing current for an empty path.
    void Select(const QString& relative) { Tree()->setCurrentItem(relative.isEmpty() ? nullptr : Item(relative)); }
    void Click(const QString& relative);
    QTabWidget* Tabs() const { return m_pWindow->findChild<QTabWidget*>(QStringLiteral("m_pTabWidget")); }
    QString Status() const { return m_pWindow->statusBar()->currentMessage(); }
    QStringList Messages() const { return m_pWatcher->MessageTexts(); }

    std::unique_ptr<QTemporaryDir> m_pSettings;
    std::unique_ptr<QTemporaryDir> m_pStorage;
    std::unique_ptr<CFakeDevice> m_pFake;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    std::unique_ptr<CMainWindow> m_pWindow;
    std::unique_ptr<CModalWatcher> m_pWatcher;
    QString m_strInput;              // typed into the next input dialog
    QString m_strFolder;             // chosen in the next folder dialog
    int m_nInputs = 0;               // input dialogs shown
    QList<Qt::TextFormat> m_formats; // of the message boxes shown
};

void TestStorage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestStorage::init()
{
    m_pSettings = std::make_unique<QTemporaryDir>();
    m_pStorage = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pSettings->path());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings().setValue(QStringLiteral("General/Language"), QStringLiteral("en_US"));
    QSettings().setValue(QStringLiteral("General/StoragePath"), m_pStorage->path());
    m_pFake = std::make_unique<CFakeDevice>();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("FAKE"));
    auto* device = new CMetaDevice(m_pFake.get());
    device->Initialize();
    CClientSession::SetCurrent(device, m_pGui.get());
    m_nInputs = 0;
    m_formats.clear();
    m_pWatcher = std::make_unique<CModalWatcher>();
    m_pWatcher->SetHandler([this](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            m_formats.append(box->textFormat()); // then answered as usual
        auto* input = qobject_cast<QInputDialog*>(modal);
        auto* files = qobject_cast<QFileDialog*>(modal);
        if (input) {
            ++m_nInputs;
            input->setTextValue(m_strInput);
        } else if (files) {
            files->setDirectory(m_strFolder);
        }
        if (input || files)
            static_cast<QDialog*>(modal)->accept();
        return input || files;
    });
}

void TestStorage::cleanup()
{
    m_pWindow.reset();
    m_pWatcher.reset();
    CClientSession::Release();
    m_pGui.reset();
    m_pFake.reset();
}

void TestStorage::MakeWindow()
{
    m_pWindow = std::make_unique<CMainWindow>();
    m_pWindow->findChild<QTimer*>(QStringLiteral("m_timer"))->stop();
    m_pGui->ClearCalls();
}

void TestStorage::Write(const QStringList& files, int count, const QString& device)
{
    QList<CRecord> records(count);
    for (int i = 0; i < count; ++i)
        records[i].time = 1767225600u + quint64(i);
    for (const QString& file : files) {
        QDir().mkpath(QFileInfo(Path(file)).path());
        QVERIFY(CDataFile::Save(Path(file), device, file.endsWith(QLatin1String(".ldf")) ? 2 : 0, records));
    }
}

QTreeWidgetItem* TestStorage::Item(const QString& relative) const
{
    QTreeWidgetItem* item = Tree()->topLevelItem(0);
    for (const QString& text : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        item = item ? item->child(int(Texts(item).indexOf(text))) : nullptr;
    return item;
}

void TestStorage::Click(const QString& relative)
{
    Select(relative);
    m_pWindow->OnStorageItemActivated(Item(relative));
}

// ---------------------------------------------------------------------------

void TestStorage::fillKeepsFoldersAndDataFilesOnly()
{
    Write({ "a/x.ldf", "a/y.rdf", "a/sub/w.rdf", "a/b.c.ldf", "Top.rdf", "a/notes.txt", "a/upper.LDF" });
    // A link back up must not make the fill run forever.
    QVERIFY(QFile::link(m_pStorage->path(), Path(QStringLiteral("a/loop"))));
    MakeWindow();

    QTreeWidgetItem* root = Tree()->topLevelItem(0);
    QCOMPARE(root->text(0), m_pStorage->path());
    QVERIFY(root->isExpanded());
    QCOMPARE(Texts(root), QStringList({ "a", "Top" }));
    QCOMPARE(Texts(Item("a")), QStringList({ "b.c", "loop", "sub", "x", "y" }));
    QCOMPARE(Texts(Item("a/sub")), QStringList({ "w" }));
    QCOMPARE(Texts(Item("a/loop")), QStringList());
    QCOMPARE(Item("a/sub")->data(0, Qt::UserRole).toInt(), 2);
    QCOMPARE(Item("a/x")->data(0, Qt::UserRole).toInt(), 0);
    QCOMPARE(Item("a/y")->data(0, Qt::UserRole).toInt(), 1);

    // A name with dots keeps all but the extension, and so finds its file.
    Click(QStringLiteral("a/b.c"));
    QCOMPARE(Status(), QStringLiteral("A file loaded"));
    QCOMPARE(Messages(), QStringList());
}

void TestStorage::newFolderGoesToTheTargetFolder()
{
    Write({ "a/x.ldf" });
    QDir().mkpath(Path(QStringLiteral("a/sub")));
    MakeWindow();
    // Nothing current: the root; a file: its folder; a folder: itself.
    for (const char* current : { "", "a/x", "a/sub" }) {
        Select(QLatin1String(current));
        m_strInput = QStringLiteral("new");
        m_pWindow->OnFolderButton();
    }
    for (const char* path : { "new", "a/new", "a/sub/new" })
        QVERIFY2(QFileInfo(Path(QLatin1String(path))).isDir() && Item(QLatin1String(path)), path);
    QCOMPARE(Status(), QStringLiteral("A folder created"));
    QCOMPARE(Messages(), QStringList());

    // An existing name, and names that would leave the folder.
    for (const char* name : { "new", "../escape", "x/y" }) {
        m_strInput = QLatin1String(name);
        m_pWindow->OnFolderButton();
    }
    QCOMPARE(Messages(), QStringList(3, QStringLiteral("Could not create the folder!")));
    QVERIFY(!QFileInfo::exists(Path(QStringLiteral("a/escape"))));
    QCOMPARE(Texts(Item("a/sub")), QStringList({ "new" }));
}

void TestStorage::renameAndDelete()
{
    Write({ "a/x.ldf", "a/sub/w.rdf" });
    Write({ "a/k.ldf" }, 2);
    QTemporaryDir outside;
    QVERIFY(QFile(outside.filePath(QStringLiteral("keep"))).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(outside.path(), Path(QStringLiteral("a/sub/linked"))));
    QVERIFY(QFile::link(outside.path(), Path(QStringLiteral("linked"))));
    MakeWindow();

    Select(QStringLiteral("a/x"));
    m_strInput = QStringLiteral("x2");
    m_pWindow->OnRenameButton();
    QVERIFY(Item(QStringLiteral("a/x2")) && QFile::exists(Path(QStringLiteral("a/x2.ldf"))));
    QCOMPARE(Status(), QStringLiteral("A file renamed"));
    m_strInput = QStringLiteral("k"); // taken: nothing is replaced
    m_pWindow->OnRenameButton();
    QCOMPARE(Messages(), QStringList({ "Could not rename the file!" }));
    QVERIFY(QFile::exists(Path(QStringLiteral("a/x2.ldf"))));
    QCOMPARE(QFileInfo(Path(QStringLiteral("a/k.ldf"))).size(), CDataFile::Encode("FAKE", 2, QList<CRecord>(2)).size());
    Select(QStringLiteral("a")); // folders are not renamed
    m_pWindow->OnRenameButton();
    QCOMPARE(m_nInputs, 2);

    m_pWatcher->Reset();
    Select(QStringLiteral("a/k"));
    m_pWatcher->SetAnswer(QMessageBox::No);
    m_pWindow->OnDeleteButton();
    QVERIFY(QFile::exists(Path(QStringLiteral("a/k.ldf"))));
    m_pWatcher->SetAnswer(QMessageBox::Yes);
    m_pWindow->OnDeleteButton();
    QVERIFY(!QFile::exists(Path(QStringLiteral("a/k.ldf"))) && !Item(QStringLiteral("a/k")));
    QCOMPARE(Status(), QStringLiteral("A file has been deleted"));

    // A folder goes with all it holds; what a link in it points to stays.
    for (const char* folder : { "a", "linked" }) {
        Select(QLatin1String(folder));
        m_pWindow->OnDeleteButton();
        const QFileInfo info(Path(QLatin1String(folder)));
        QVERIFY2(!info.isSymLink() && !info.exists(), folder);
        QVERIFY(!Item(QLatin1String(folder)));
    }
    QCOMPARE(Status(), QStringLiteral("A folder has been deleted"));
    QVERIFY(QFile::exists(outside.filePath(QStringLiteral("keep"))));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)); // never the root
    m_pWindow->OnDeleteButton();
    const QString file = QStringLiteral("Do you really want to delete the file?");
    const QString folder = QStringLiteral("Do you really want to delete the folder and all its content?");
    QCOMPARE(Messages(), QStringList({ file, file, folder, folder }));
}

void TestStorage::deleteAllKeepsTheFiles()
{
    Write({ "a/x.ldf", "y.rdf" });
    MakeWindow();
    m_pWindow->OnDeleteAllAction();
    QCOMPARE(Messages(), QStringList({ "Do you really want to delete all the items in the archive?" }));
    QCOMPARE(Texts(Tree()->topLevelItem(0)), QStringList());
    QVERIFY(QFile::exists(Path(QStringLiteral("a/x.ldf"))) && QFile::exists(Path(QStringLiteral("y.rdf"))));

    // A storage folder gone meanwhile is made again.
    QVERIFY(QDir(m_pStorage->path()).removeRecursively());
    m_pWindow->OnDeleteAllAction();
    QVERIFY(QFileInfo(m_pStorage->path()).isDir());
}

void TestStorage::realtimeSaveNamesAndNeverOverwrites()
{
    QCOMPARE(CRealtimeFileName::Prefix(IDevice::MODE_MAN, 5), QStringLiteral("3G_"));
    QCOMPARE(CRealtimeFileName::Prefix(IDevice::MODE_SRCH, 15), QStringLiteral("GSM900_"));
    QCOMPARE(CRealtimeFileName::Prefix(IDevice::MODE_MAN, 31), QStringLiteral("GSM900_"));
    QCOMPARE(CRealtimeFileName::Prefix(IDevice::MODE_MAN, 18), QStringLiteral("SCAN_"));
    QCOMPARE(CRealtimeFileName::Prefix(IDevice::MODE_AUTO, 5), QStringLiteral("AUTO_"));

    MakeWindow();
    m_pWindow->OnRealtimeSaveButton();
    QCOMPARE(Messages(), QStringList({ "There's no data to save!" }));

    // The fake watches band 1; its first record is from FirstTime().
    const QString stamp
        = QDateTime::fromSecsSinceEpoch(qint64(CFakeDevice::FirstTime())).toString(QStringLiteral("MMdd_hhmm"));
    const QString name = QStringLiteral("GSM900_rt_") + stamp;
    QList<CRecord> records;
    qint32 kind = -1;
    QStringList names;
    for (int count : { 5, 8 }) { // the second save replaces nothing
        names.append(names.isEmpty() ? name : name + QStringLiteral("_2"));
        m_pFake->AppendRecords(count - m_pFake->GetCurrentRecordIndex());
        m_pWindow->OnRealtimeSaveButton();
        QCOMPARE(Texts(Tree()->topLevelItem(0)), names);
        QCOMPARE(Tree()->currentItem()->text(0), names.last());
        QCOMPARE(Status(), QStringLiteral("Collected data saved"));
        QCOMPARE(CDataFile::Load(Path(names.last() + ".rdf"), "FAKE", records, kind), CDataFile::Ok);
        QCOMPARE(records.size(), count);
        QCOMPARE(kind, 0);
    }
    QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 5 + 8); // each save shown

    m_pFake->SetMode(IDevice::MODE_AUTO);
    m_pWindow->OnRealtimeSaveButton();
    QCOMPARE(CDataFile::Load(Path("AUTO_rt_" + stamp + ".rdf"), "FAKE", records, kind), CDataFile::Ok);
    QCOMPARE(kind, 1);
    QCOMPARE(Messages().size(), 1);
}

// The live session's recordings, listed by what they hold, newest first;
// one loads into the log area like a data file.
void TestStorage::recordingsShowNewestFirstAndLoad()
{
    const QString folder = CLiveRecorder::Folder(m_pStorage->path());
    QVERIFY(QDir().mkpath(folder));
    for (int i = 0; i < 3; ++i) {
        QList<CRecord> records(10 + i);
        for (int r = 0; r < records.size(); ++r) {
            records[r].time = 1767225600u + quint64(i * 3600 + r);
            records[r].values.append({ -60.0, -50.0, 0, 0 });
        }
        CRecordingCodec::SUMMARY summary;
        summary.first = records.first().time;
        summary.last = records.last().time;
        summary.records = records.size();
        QFile file(QDir(folder).filePath(QStringLiteral("live-2026010%1.orzrec").arg(i)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("FAKE"))
            + CRecordingCodec::RecordBlockFrames(records) + CRecordingCodec::SummaryFrame(summary));
    }
    MakeWindow();
    const QStringList labels = Texts(Item(QStringLiteral("Recordings")));
    QCOMPARE(labels.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(labels.at(i).endsWith(QStringLiteral(", %1 records").arg(12 - i)), qPrintable(labels.at(i)));
    QTreeWidgetItem* newest = Item(QStringLiteral("Recordings"))->child(0);
    Tree()->setCurrentItem(newest);
    m_pWindow->OnStorageItemActivated(newest);
    QCOMPARE(Status(), QStringLiteral("A file loaded"));
    QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 12);
}

// A realtime file's notes show in its list and on its diagram, follow a
// rename, go with a delete; damaged ones are told and the file still shows.
void TestStorage::notesGoWithTheirFile()
{
    Write({ "rt.rdf" }, 4);
    QString error;
    QVERIFY(CNotesFile::Save(Path(QStringLiteral("rt.rdf")), { { 1767225602000u, QStringLiteral("desk") } }, error));
    MakeWindow();
    Click(QStringLiteral("rt"));
    QCOMPARE(Tabs()->count(), 2);
    auto* list = m_pWindow->findChild<QTreeWidget*>(QStringLiteral("m_pLogListTree"));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(5), QStringLiteral("desk"));
    QCOMPARE(m_pWindow->findChild<CTimeMarks*>(QStringLiteral("m_pLogNoteMarks"))->Marks().size(), 1);

    m_strInput = QStringLiteral("rt2");
    m_pWindow->OnRenameButton();
    QVERIFY(QFile::exists(Path(QStringLiteral("rt2.rdf.notes"))));
    QVERIFY(!QFile::exists(Path(QStringLiteral("rt.rdf.notes"))));

    QFile notes(Path(QStringLiteral("rt2.rdf.notes")));
    QVERIFY(notes.open(QIODevice::ReadWrite) && notes.seek(20) && notes.write("\xff\xff", 2) == 2);
    notes.close();
    Click(QStringLiteral("rt2"));
    QVERIFY2(Status().contains(QStringLiteral("damaged")), qPrintable(Status()));
    QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 8);

    m_pWatcher->SetAnswer(QMessageBox::Yes);
    m_pWindow->OnDeleteButton();
    QVERIFY(!QFile::exists(Path(QStringLiteral("rt2.rdf.notes"))));
}

void TestStorage::loadingSwitchesTheListPage()
{
    Write({ "log.ldf" });
    Write({ "rt.rdf" }, 4);
    MakeWindow();
    QWidget* listPage = Tabs()->widget(1);
    auto* events = m_pWindow->findChild<QLineEdit*>(QStringLiteral("m_pNumEventsEdit"));

    Click(QStringLiteral("log"));
    QCOMPARE(Tabs()->count(), 2);
    QVERIFY(!events->isHidden());
    QCOMPARE(events->text(), QStringLiteral("3"));
    QCOMPARE(m_pGui->Calls().mid(0, 2), QStringList({ "InitRealtimeDiagram:1:4", "AddRealtimeRecord:1767225600:4" }));
    QCOMPARE(m_pGui->Count(QStringLiteral("FillLogList")), 1);

    m_pGui->ClearCalls();
    Click(QStringLiteral("rt"));
    QCOMPARE(Tabs()->count(), 1);
    QVERIFY(events->isHidden());
    QCOMPARE(m_pGui->Calls().value(0), QStringLiteral("InitRealtimeDiagram:0:1"));
    QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 4);
    QCOMPARE(Status(), QStringLiteral("A file loaded"));

    Click(QStringLiteral("log"));
    QCOMPARE(Tabs()->widget(1), listPage);
    QCOMPARE(Tabs()->tabText(1), QStringLiteral("List"));
    QCOMPARE(Messages(), QStringList());
}

void TestStorage::damagedOrForeignFilesDoNotLoad()
{
    Write({ "rt.rdf", "log.ldf", "cut.ldf" });
    Write({ "other.ldf" }, 3, QStringLiteral("<b>RZ999</b>"));
    QFile cut(Path(QStringLiteral("cut.ldf")));
    QVERIFY(cut.resize(cut.size() - 1));
    MakeWindow();
    Click(QStringLiteral("rt"));
    QVERIFY(QFile::rename(Path(QStringLiteral("log.ldf")), Path(QStringLiteral("renamed.ldf"))));
    m_pGui->ClearCalls();

    for (const char* name : { "other", "cut", "log" })
        Click(QLatin1String(name));
    const QString failed = QStringLiteral("An error occured loading the file!");
    QCOMPARE(Messages(), QStringList({ "This log file is for <b>RZ999</b> device!", failed, failed, failed }));
    QCOMPARE(m_formats.value(0), Qt::PlainText); // the file's text is no markup
    QCOMPARE(Status(), QString());
    // What showed before stays.
    QCOMPARE(Tabs()->count(), 1);
    QCOMPARE(m_pGui->Calls(), QStringList());
}

void TestStorage::browseShowsTheChosenFolder()
{
    m_strFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/FAKE");
    MakeWindow();
    m_pWindow->OnBrowseButton(); // the default folder, named in full
    QCOMPARE(Tree()->topLevelItem(0)->text(0), m_strFolder);
    QCOMPARE(Status(), QStringLiteral("New storage has been loaded"));
    m_pWindow.reset();
    QCOMPARE(QSettings().value(QStringLiteral("General/StoragePath")).toString(), m_strFolder);
}

// A server names its device as it likes.
void TestStorage::deviceNamesStayInsideTheProgramFolder()
{
    QSettings().remove(QStringLiteral("General/StoragePath"));
    CClientSession::Release();
    m_pFake = std::make_unique<CFakeDevice>(QStringLiteral("../../escaped"));
    auto* device = new CMetaDevice(m_pFake.get());
    device->Initialize();
    CClientSession::SetCurrent(device, m_pGui.get());
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(data + QStringLiteral("/../../escaped")).removeRecursively();
    MakeWindow();
    QCOMPARE(Tree()->topLevelItem(0)->text(0), QStringLiteral("Default Storage"));
    QVERIFY(!QFileInfo::exists(data + QStringLiteral("/../../escaped")));
}

// A chosen folder stands for its files; nothing chosen means the live
// session, which has nothing to report here.
void TestStorage::reportOfTheChosenFiles()
{
    Write({ QStringLiteral("a/log_0101_0000.ldf"), QStringLiteral("a/b/rt_0101_0100.rdf"), QStringLiteral("c.ldf") });
    MakeWindow();
    const QString pdf = Path(QStringLiteral("report.pdf"));
    m_pWatcher->SetHandler([&pdf](QWidget* modal) {
        auto* dialog = qobject_cast<CReportDialog*>(modal);
        if (!dialog)
            return false;
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pPathEdit"))->setText(pdf);
        dialog->findChild<QCheckBox*>(QStringLiteral("m_pOpenCheck"))->setChecked(false);
        dialog->accept();
        return true;
    });
    Item(QStringLiteral("a"))->setSelected(true);
    QAction* report = m_pWindow->findChild<QAction*>(QStringLiteral("m_pFileReportAction"));
    report->trigger();
    QVERIFY(QFile::exists(pdf));
    QVERIFY(Status().startsWith(QLatin1String("The report has been written")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
    QVERIFY(text.waitForFinished());
    const QString written = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(written.contains(QLatin1String("log_0101_0000.ldf"))
            && written.contains(QLatin1String("rt_0101_0100.rdf")),
        qPrintable(written));
    QVERIFY(!written.contains(QLatin1String("c.ldf")));

    Tree()->clearSelection();
    report->trigger();
    QCOMPARE(Messages().size(), 1);
    QVERIFY(Messages().first().startsWith(QLatin1String("There is nothing to report")));
}

QTEST_MAIN(TestStorage)

#include "tst_Storage.moc"
