#include "CDataFilesCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

CDataFilesCommand::CDataFilesCommand(const QString& outputOption, const QString& outputText)
    : m_strOption(outputOption)
    , m_strOutputText(outputText)
{
}

void CDataFilesCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ m_strOption, m_strOutputText, QStringLiteral("OUT") });
    parser.addPositionalArgument(QStringLiteral("FILE"),
        QCoreApplication::translate("CDataFilesCommand",
            "Data files and recordings (.rdf, .ldf, .orzrec), in this order."),
        QStringLiteral("FILE..."));
}

bool CDataFilesCommand::Take(const QCommandLineParser& parser, QString& error)
{
    m_files = parser.positionalArguments();
    m_strOut = parser.value(m_strOption);
    if (m_files.isEmpty())
        error = QCoreApplication::translate("CDataFilesCommand", "%1 takes one data file or more").arg(Name());
    else if (m_strOut.isEmpty())
        error = QCoreApplication::translate("CDataFilesCommand", "%1 takes --%2 OUT").arg(Name(), m_strOption);
    else if (OutputIsInput())
        error = QCoreApplication::translate("CDataFilesCommand", "--%1 %2 would replace a data file it is made of")
                    .arg(m_strOption, m_strOut);
    return error.isEmpty();
}

bool CDataFilesCommand::OutputIsInput() const
{
    // The data file would be read whole and then lost under its own export.
    const QString out = QFileInfo(m_strOut).canonicalFilePath();
    return !out.isEmpty() && std::any_of(m_files.cbegin(), m_files.cend(), [&out](const QString& file) {
        return QFileInfo(file).canonicalFilePath() == out;
    });
}
