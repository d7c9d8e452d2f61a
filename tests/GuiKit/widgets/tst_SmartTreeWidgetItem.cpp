// Natural sort order of list rows: stamps, times, numbers, text.
#include "widgets/CQSmartTreeWidgetItem.h"

#include <QTest>
#include <QTreeWidget>

#include <ctime>

class TestSmartTreeWidgetItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void orderingRules_data();
    void orderingRules();
    void sortsTheColumnTheTreeSortsBy();
    void copiesKeepTheRow();
};

void TestSmartTreeWidgetItem::orderingRules_data()
{
    // Clocks here skip 02:00..03:00 on 26 March 2000 (the clock-gap row).
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("less");
    // Day stamps order by date, across months, not by text.
    QTest::newRow("stamps across months") << "15-01 10:00:00"
                                          << "01-02 09:00:00" << true;
    QTest::newRow("stamps same day") << "01-02 10:00:01"
                                     << "01-02 10:00:00" << false;
    QTest::newRow("stamp in a clock gap") << "26-03 02:30:00"
                                          << "01-04 00:00:00" << true;
    QTest::newRow("leap day is a date") << "29-02 00:00:00"
                                        << "01-03 00:00:00" << true;
    QTest::newRow("times of day") << "09:59:59"
                                  << "10:00:00" << true;
    QTest::newRow("durations") << "00:00:10"
                               << "00:00:09" << false;
    QTest::newRow("numbers") << "9"
                             << "10" << true;
    QTest::newRow("negative numbers") << "-81.5"
                                      << "-80" << true;
    // With units the texts no longer convert: string order.
    QTest::newRow("numbers with units") << "9 dBm"
                                        << "10 dBm" << false;
    QTest::newRow("stamp against number") << "15-01 10:00:00"
                                          << "2" << true;
    QTest::newRow("time against text") << "10:00:00"
                                       << "GSM" << true;
    QTest::newRow("empty texts") << ""
                                 << "" << false;
    QTest::newRow("empty against text") << ""
                                        << "a" << true;
}

void TestSmartTreeWidgetItem::orderingRules()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, less);
    QCOMPARE(CQSmartTreeWidgetItem::Less(a, b), less);
}

void TestSmartTreeWidgetItem::sortsTheColumnTheTreeSortsBy()
{
    QTreeWidget tree;
    tree.setColumnCount(2);
    const QStringList times = { "01-02 09:00:00", "15-01 10:00:00", "31-12 23:59:59" };
    const QStringList levels = { "10", "9", "-5" };
    for (int i = 0; i < 3; ++i) {
        auto* item = new CQSmartTreeWidgetItem;
        item->setText(0, times[i]);
        item->setText(1, levels[i]);
        tree.addTopLevelItem(item);
    }
    tree.sortItems(0, Qt::AscendingOrder);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("15-01 10:00:00"));
    QCOMPARE(tree.topLevelItem(2)->text(0), QStringLiteral("31-12 23:59:59"));
    tree.sortItems(1, Qt::AscendingOrder);
    QCOMPARE(tree.topLevelItem(0)->text(1), QStringLiteral("-5"));
    QCOMPARE(tree.topLevelItem(1)->text(1), QStringLiteral("9"));

    // Outside a tree the first column decides, and nothing crashes.
    CQSmartTreeWidgetItem loose, other;
    loose.setText(0, "1");
    other.setText(0, "2");
    QVERIFY(loose < other);
}

void TestSmartTreeWidgetItem::copiesKeepTheRow()
{
    CQSmartTreeWidgetItem item;
    item.setText(0, "12:00:00");
    item.setText(3, "x");
    QCOMPARE(item.type(), int(QTreeWidgetItem::Type));
    CQSmartTreeWidgetItem copy(item);
    QCOMPARE(copy.text(3), QStringLiteral("x"));
    CQSmartTreeWidgetItem assigned;
    assigned = item;
    QCOMPARE(assigned.text(0), QStringLiteral("12:00:00"));
}

QTEST_MAIN(TestSmartTreeWidgetItem)
#include "tst_SmartTreeWidgetItem.moc"
