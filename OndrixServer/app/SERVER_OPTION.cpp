#include "app/SERVER_OPTION.h"

#include <QCoreApplication>
#include <QStringList>

bool SERVER_OPTION::ParseSwitch(const QString& value, bool& on, QString& error)
{
    static const QStringList yes { QString(), QStringLiteral("1"), QStringLiteral("true"), QStringLiteral("yes"),
        QStringLiteral("on") };
    static const QStringList no { QStringLiteral("0"), QStringLiteral("false"), QStringLiteral("no"),
        QStringLiteral("off") };
    const QString word = value.trimmed().toLower();
    if (yes.contains(word) || no.contains(word)) {
        on = yes.contains(word);
        return true;
    }
    error = QCoreApplication::translate("SERVER_OPTION", "'%1' is neither yes nor no").arg(value);
    return false;
}
