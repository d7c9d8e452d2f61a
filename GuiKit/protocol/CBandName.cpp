#include "protocol/CBandName.h"

QString CBandName::Plain(const QString& name)
{
    QString plain = name.trimmed();
    while (plain.endsWith(QLatin1Char('/')))
        plain.chop(1);
    return plain.trimmed();
}
