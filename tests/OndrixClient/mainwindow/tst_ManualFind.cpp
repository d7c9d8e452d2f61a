// Find-as-you-type over the real manual pages of the RZ450 plug-in, in both
// languages.
#include "CRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "app/CTranslationSet.h"
#include "mainwindow/CManualWindow.h"

#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <climits>
#include <iterator>
#include <memory>

namespace {

// The sections of both pages, in page order.
const char* const SECTIONS[] = { "purpose", "start", "main", "panel", "live", "spectrum", "download", "storage", "menu",
    "prefs", "recording", "replay", "export", "report", "server", "ondrixctl", "trouble" };
// One word of each section, typed in lower case: most stand capitalised in the page.
const char* const ENGLISH_WORDS[]
    = { "jammers", "arduino", "autoscroll", "demodulation", "thinned", "waterfall", "parsing", "archive", "bluetooth",
          "green", "orzrec", "pause", "proportions", "operator", "sigterm", "json", "firewall" };
const char* const RUSSIAN_WORDS[] = { "блокираторов", "найденные", "автопрокрутка", "колокольчика", "прореживаются",
    "водопад", "разбор", "архива", "сортировка", "зелёным", "восстановлено", "пауза", "пропорции", "оператор",
    "безопасен", "самопроверка", "экраном" };
constexpr int SECTION_COUNT = int(std::size(SECTIONS));

const QString GREEN = QStringLiteral("QLineEdit { background: rgb(127, 255, 127) }");
const QString RED = QStringLiteral("QLineEdit { background: rgb(255, 127, 127) }");

// Where the text of the section named by the anchor begins; -1 without one.
int AnchorPosition(const QTextDocument* page, const QString& name)
{
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name))
                return it.fragment().position();
        }
    }
    return -1;
}

// QTest::keyClicks takes Latin-1 letters only.
void Type(QWidget* edit, const QString& text)
{
    for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

} // namespace

class TestManualFind : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void wordOfEachSection_data();
    void wordOfEachSection();
    void wrapAroundAndMissing_data();
    void wrapAroundAndMissing();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CRZ450DeviceGui> m_pGui;
    std::unique_ptr<CManualWindow> m_pManual;
    QLineEdit* m_pEdit = nullptr;
    QTextBrowser* m_pBrowser = nullptr;
};

void TestManualFind::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    m_pGui = std::make_unique<CRZ450DeviceGui>();
    CClientSession::SetCurrent(nullptr, m_pGui.get());
}

void TestManualFind::cleanupTestCase()
{
    m_pManual.reset();
    CTranslationSet::Instance().SetLanguage(QStringLiteral("en_US"));
    CClientSession::Release();
    m_pGui.reset();
}

void TestManualFind::init()
{
    const QString language = QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char('/'), 0, 0);
    CTranslationSet::Instance().SetLanguage(language);
    m_pManual = std::make_unique<CManualWindow>();
    m_pEdit = m_pManual->findChild<QLineEdit*>(QStringLiteral("m_pFindEdit"));
    m_pBrowser = m_pManual->findChild<QTextBrowser*>(QStringLiteral("m_pTextBrowser"));
}

void TestManualFind::wordOfEachSection_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("word");
    for (int i = 0; i < SECTION_COUNT; ++i) {
        QTest::addRow("en_US/%s", SECTIONS[i]) << i << QString::fromUtf8(ENGLISH_WORDS[i]);
        QTest::addRow("ru_RU/%s", SECTIONS[i]) << i << QString::fromUtf8(RUSSIAN_WORDS[i]);
    }
}

void TestManualFind::wordOfEachSection()
{
    QFETCH(int, section);
    QFETCH(QString, word);
    const int start = AnchorPosition(m_pBrowser->document(), QLatin1String(SECTIONS[section]));
    const int end = section + 1 < SECTION_COUNT
        ? AnchorPosition(m_pBrowser->document(), QLatin1String(SECTIONS[section + 1]))
        : INT_MAX;
    QVERIFY(start >= 0 && end > start);
    QTextCursor cursor = m_pBrowser->textCursor();
    cursor.setPosition(start);
    m_pBrowser->setTextCursor(cursor);

    Type(m_pEdit, word);
    QCOMPARE(m_pEdit->styleSheet(), GREEN);
    // The first one from where the search began, whatever its case.
    const int expected = m_pBrowser->toPlainText().indexOf(word, start, Qt::CaseInsensitive);
    QVERIFY2(expected >= start && expected < end, "the word is not in its section");
    QCOMPARE(m_pBrowser->textCursor().selectionStart(), expected);
    QCOMPARE(m_pBrowser->textCursor().selectedText().toLower(), word);
}

void TestManualFind::wrapAroundAndMissing_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("missing");
    QTest::newRow("en_US/") << QStringLiteral("detector") << QStringLiteral("xylophone");
    QTest::newRow("ru_RU/") << QStringLiteral("детектор") << QStringLiteral("балалайка");
}

void TestManualFind::wrapAroundAndMissing()
{
    QFETCH(QString, word);
    QFETCH(QString, missing);
    m_pBrowser->moveCursor(QTextCursor::End);
    Type(m_pEdit, word);
    QCOMPARE(m_pEdit->styleSheet(), GREEN);
    const int first = m_pBrowser->toPlainText().indexOf(word, 0, Qt::CaseInsensitive);
    QCOMPARE(m_pBrowser->textCursor().selectionStart(), first);

    // Return from the last match comes back to the first.
    const int last = m_pBrowser->toPlainText().lastIndexOf(word, -1, Qt::CaseInsensitive);
    QTextCursor atLast = m_pBrowser->textCursor();
    atLast.setPosition(last);
    m_pBrowser->setTextCursor(atLast);
    QTest::keyClick(m_pEdit, Qt::Key_Backspace);
    Type(m_pEdit, word.right(1));
    QCOMPARE(m_pBrowser->textCursor().selectionStart(), last);
    QTest::keyClick(m_pEdit, Qt::Key_Return);
    QCOMPARE(m_pBrowser->textCursor().selectionStart(), first);
    QCOMPARE(m_pEdit->styleSheet(), GREEN);

    m_pEdit->clear();
    Type(m_pEdit, missing);
    QCOMPARE(m_pEdit->styleSheet(), RED);
}

QTEST_MAIN(TestManualFind)
#include "tst_ManualFind.moc"
