#pragma once

#include "CCtlCommand.h"

#include <QCoreApplication>

// `clock sync`: sets the detector's clock to the PC's and waits until the
// detector reports it.
class CClockCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CClockCommand)

public:
    // How far the detector's clock may stand from the PC's afterwards: it
    // counts whole seconds, and the write leaves a moment after it was made.
    static constexpr int TOLERANCE_S = 2;

    QString Name() const override { return QStringLiteral("clock"); }
    QString Synopsis() const override { return QStringLiteral("sync"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;
};
