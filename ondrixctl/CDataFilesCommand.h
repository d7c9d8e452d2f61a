#pragma once

#include "CCtlCommand.h"

#include <QStringList>

// A command that turns data files (.rdf, .ldf) and recordings (.orzrec)
// into one output file given by an option (`--csv OUT`, `--pdf OUT`), with no detector.
class CDataFilesCommand : public CCtlCommand
{
public:
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;

protected:
    // The option's name ("csv") and what the output is, for its help.
    CDataFilesCommand(const QString& outputOption, const QString& outputText);

    QStringList m_files;
    QString m_strOut;

private:
    bool OutputIsInput() const;

    QString m_strOption;
    QString m_strOutputText;
};
