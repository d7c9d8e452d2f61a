#include "widgets/CQSmartTreeWidgetItem.h"

#include <QDateTime>
#include <QTreeWidget>

namespace {

// The stamps carry no year. Read them in a leap year so that 29 February is
// a date like any other instead of falling back to text order, and in UTC:
// as local time a stamp inside a daylight-saving gap would not exist.
QDateTime DayStamp(const QString& text)
{
    const int space = text.indexOf(QLatin1Char(' '));
    if (space < 0)
        return QDateTime();
    const QDate day = QDate::fromString(QStringLiteral("2000-") + text.left(space), QStringLiteral("yyyy-dd-MM"));
    const QTime time = QTime::fromString(text.mid(space + 1), QStringLiteral("hh:mm:ss"));
    return day.isValid() && time.isValid() ? QDateTime(day, time, Qt::UTC) : QDateTime();
}

} // namespace

CQSmartTreeWidgetItem::CQSmartTreeWidgetItem()
    : QTreeWidgetItem(QTreeWidgetItem::Type)
{
}

CQSmartTreeWidgetItem::CQSmartTreeWidgetItem(const CQSmartTreeWidgetItem& other) = default;

CQSmartTreeWidgetItem& CQSmartTreeWidgetItem::operator=(const CQSmartTreeWidgetItem& other)
{
    QTreeWidgetItem::operator=(other);
    return *this;
}

CQSmartTreeWidgetItem::~CQSmartTreeWidgetItem() = default;

bool CQSmartTreeWidgetItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* tree = treeWidget();
    const int column = tree ? tree->sortColumn() : 0;
    return Less(text(column), other.text(column));
}

bool CQSmartTreeWidgetItem::Less(const QString& a, const QString& b)
{
    const QDateTime stampA = DayStamp(a);
    const QDateTime stampB = DayStamp(b);
    if (stampA.isValid() && stampB.isValid())
        return stampA < stampB;

    const QTime timeA = QTime::fromString(a, QStringLiteral("hh:mm:ss"));
    const QTime timeB = QTime::fromString(b, QStringLiteral("hh:mm:ss"));
    if (timeA.isValid() && timeB.isValid())
        return timeA < timeB;

    bool numberA = false, numberB = false;
    const double valueA = a.toDouble(&numberA);
    const double valueB = b.toDouble(&numberB);
    if (numberA && numberB)
        return valueA < valueB;

    return a < b;
}
