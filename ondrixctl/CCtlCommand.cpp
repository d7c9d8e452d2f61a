#include "CCtlCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

void CCtlCommand::AddOptions(QCommandLineParser&) const
{
}

bool CCtlCommand::TakeOne(const QCommandLineParser& parser, const QString& what, QString& value, QString& error)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() == 1 && !arguments.first().isEmpty()) {
        value = arguments.first();
        return true;
    }
    error = arguments.isEmpty() ? QCoreApplication::translate("CCtlCommand", "%1 is missing").arg(what)
                                : QCoreApplication::translate("CCtlCommand", "only one %1 is taken").arg(what);
    return false;
}
