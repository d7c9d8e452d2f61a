#include "sites/CSiteFolder.h"

#include <QTest>

class CSiteFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void IsValidName_data()
    {
        QTest::addColumn<QString>("site");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << QStringLiteral("Office 3") << true;
        QTest::newRow("cyrillic") << QStringLiteral("Офис") << true;
        QTest::newRow("longest") << QString(CSiteFolder::MAX_NAME, QLatin1Char('a')) << true;
        QTest::newRow("too long") << QString(CSiteFolder::MAX_NAME + 1, QLatin1Char('a')) << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blank") << QStringLiteral("   ") << false;
        QTest::newRow("leading space") << QStringLiteral(" a") << false;
        QTest::newRow("trailing space") << QStringLiteral("a ") << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("slash") << QStringLiteral("a/b") << false;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
        QTest::newRow("colon") << QStringLiteral("c:") << false;
        QTest::newRow("newline") << QStringLiteral("a\nb") << false;
        QTest::newRow("delete") << QStringLiteral("a\x7f") << false;
    }

    void IsValidName()
    {
        QFETCH(QString, site);
        QFETCH(bool, valid);
        QString error;
        QCOMPARE(CSiteFolder::IsValidName(site, error), valid);
        QCOMPARE(error.isEmpty(), valid);
    }
};

QTEST_GUILESS_MAIN(CSiteFolderTest)
#include "tst_SiteFolder.moc"
