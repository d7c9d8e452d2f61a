// The manual window's find-as-you-type, the language choice, the about box
// and the reset to defaults.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "app/CTranslationSet.h"
#include "files/CDataFile.h"
#include "mainwindow/CMainWindow.h"
#include "mainwindow/CManualWindow.h"
#include "mainwindow/CPreferencesDialog.h"
#include "proxy/CMetaDevice.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <memory>

class TestManualPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void findAsYouType();
    void manualGeometryAndLanguage();
    void preferencesRedrawEvenInTheSameLanguage();
    void aboutBox();
    void resetToDefaults();

private:
    template <typename T>
    T* Find(QObject* parent, const char* name)
    {
        return parent->findChild<T*>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CFakeDevice> m_pFake;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    std::unique_ptr<CMainWindow> m_pWindow;
};

void TestManualPreferences::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_pDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pDir->path());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings().setValue(QStringLiteral("General/Language"), QStringLiteral("en_US"));
    QSettings().setValue(QStringLiteral("General/StoragePath"), m_pDir->path());
    m_pFake = std::make_unique<CFakeDevice>();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("FAKE"));
    auto* device = new CMetaDevice(m_pFake.get());
    device->Initialize();
    CClientSession::SetCurrent(device, m_pGui.get());
}

void TestManualPreferences::cleanup()
{
    m_pWindow.reset();
    CTranslationSet::Instance().SetLanguage(QStringLiteral("en_US"));
    CClientSession::Release();
    m_pGui.reset();
    m_pFake.reset();
}

void TestManualPreferences::findAsYouType()
{
    CManualWindow manual;
    auto* edit = Find<QLineEdit>(&manual, "m_pFindEdit");
    auto* browser = Find<QTextBrowser>(&manual, "m_pTextBrowser");
    const int first = browser->toPlainText().indexOf(QLatin1String("signal"));
    const int second = browser->toPlainText().indexOf(QLatin1String("signal"), first + 1);
    QVERIFY(first >= 0 && second > first);

    // Typing refines the match where it is instead of jumping past it.
    QTest::keyClicks(edit, QStringLiteral("sig"));
    QCOMPARE(edit->styleSheet(), QStringLiteral("QLineEdit { background: rgb(127, 255, 127) }"));
    QTest::keyClicks(edit, QStringLiteral("nal"));
    QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("signal"));
    QCOMPARE(browser->textCursor().selectionStart(), first);
    // Return goes on to the next match, and past the last one back to the first.
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(browser->textCursor().selectionStart(), second);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->styleSheet(), QStringLiteral("QLineEdit { background: rgb(127, 255, 127) }"));
    QCOMPARE(browser->textCursor().selectionStart(), first);
    // A text the page does not hold leaves the last match selected.
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(edit->styleSheet(), QStringLiteral("QLineEdit { background: rgb(255, 127, 127) }"));
    QCOMPARE(browser->textCursor().selectionStart(), first);
    edit->clear();
    QCOMPARE(edit->styleSheet(), QStringLiteral("QLineEdit { background: white }"));
}

void TestManualPreferences::manualGeometryAndLanguage()
{
    {
        CManualWindow manual;
        QCOMPARE(manual.geometry(), QRect(110, 110, 400, 600));
        manual.setGeometry(200, 210, 420, 500);
    }
    CManualWindow manual;
    QCOMPARE(manual.geometry(), QRect(200, 210, 420, 500));
    CTranslationSet::Instance().SetLanguage(QStringLiteral("ru_RU"));
    QCoreApplication::processEvents(); // the language change is posted
    QCOMPARE(Find<QPushButton>(&manual, "m_pHideButton")->text(), QStringLiteral("Скрыть"));
    QVERIFY(Find<QTextBrowser>(&manual, "m_pTextBrowser")->toPlainText().contains(QStringLiteral("Сигнал тревоги.")));
}

void TestManualPreferences::preferencesRedrawEvenInTheSameLanguage()
{
    // A log file in the log area is loaded again in the new language.
    QVERIFY(CDataFile::Save(m_pDir->filePath(QStringLiteral("bank.ldf")), QStringLiteral("FAKE"), 2, { CRecord() }));
    m_pWindow = std::make_unique<CMainWindow>();
    m_pWindow->OnTimer(); // online
    auto* tree = Find<QTreeWidget>(m_pWindow.get(), "m_pStorageTree");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    auto* download = Find<QPushButton>(m_pWindow.get(), "m_pDownloadButton");
    int item = CPreferencesDialog::English;
    CModalWatcher watcher;
    watcher.SetHandler([&item](QWidget* modal) {
        auto* dialog = qobject_cast<CPreferencesDialog*>(modal);
        if (dialog) {
            dialog->findChild<QComboBox*>(QStringLiteral("m_pLanguageCombo"))->setCurrentIndex(item);
            dialog->findChild<QPushButton*>(QStringLiteral("m_pOkButton"))->click();
        }
        return dialog != nullptr;
    });

    download->setText(QStringLiteral("stale"));
    m_pGui->ClearCalls();
    m_pWindow->OnFilePreferencesAction();
    QCOMPARE(m_pGui->Calls().mid(0, 2),
        QStringList({ QStringLiteral("SetLanguage:en_US"), QStringLiteral("InitRealtimeDiagram:1:-1") }));
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("FillLogList:1")));
    QCOMPARE(download->text(), QStringLiteral("Download"));

    item = CPreferencesDialog::Russian;
    m_pWindow->OnFilePreferencesAction();
    QCOMPARE(download->text(), QStringLiteral("Загрузить"));
    m_pWindow.reset();
    QCOMPARE(QSettings().value(QStringLiteral("General/Language")).toString(), QStringLiteral("ru_RU"));
}

void TestManualPreferences::aboutBox()
{
    m_pWindow = std::make_unique<CMainWindow>();
    CModalWatcher watcher;
    m_pWindow->OnHelpAboutAction();
    QCOMPARE(watcher.MessageTexts(),
        QStringList({ QStringLiteral("RZ450 Ondrix<br>Version 3.0.03<br>© 2026 Ondrix. All rights reserved.") }));
}

void TestManualPreferences::resetToDefaults()
{
    m_pWindow = std::make_unique<CMainWindow>();
    m_pWindow->show();
    auto* splitter = Find<QSplitter>(m_pWindow.get(), "m_pRightSplitter");
    splitter->setSizes({ 100, 500 });
    QSettings().setValue(QStringLiteral("Window/Geometry"), QRect(50, 80, 900, 700));
    m_pWindow->showMaximized();
    CModalWatcher watcher;
    m_pWindow->OnFileResetToDefaults();
    QCOMPARE(watcher.MessageTexts(),
        QStringList({ QStringLiteral("Do you really want to reset program settings to defaults?") }));
    QVERIFY(!QSettings().contains(QStringLiteral("Window/Geometry")));
    // No smaller than its layout allows.
    const QRect defaults(QPoint(0, 30), QSize(600, 400).expandedTo(m_pWindow->minimumSizeHint()));
    QVERIFY(!m_pWindow->isMaximized());
    QCOMPARE(m_pWindow->geometry(), defaults);
    const QList<int> sizes = splitter->sizes();
    QVERIFY(qAbs(sizes.value(0) - sizes.value(1)) <= 1);
    // What this run uses is written again at exit.
    m_pWindow.reset();
    QCOMPARE(QSettings().value(QStringLiteral("General/Language")).toString(), QStringLiteral("en_US"));
    QCOMPARE(QSettings().value(QStringLiteral("General/StoragePath")).toString(), m_pDir->path());
}

QTEST_MAIN(TestManualPreferences)
#include "tst_ManualPreferences.moc"
