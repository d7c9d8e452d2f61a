#pragma once

#include "CCtlCommand.h"

#include <QByteArray>
#include <QCoreApplication>

// `settings get FILE.mnu` keeps the detector's settings block as a menu
// file; `settings put FILE.mnu` sends one to the detector and waits until
// the detector reports it back.
class CSettingsCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CSettingsCommand)

public:
    QString Name() const override { return QStringLiteral("settings"); }
    QString Synopsis() const override { return QStringLiteral("get|put FILE.mnu"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

private:
    int Get(CCtlSession& session);
    int Put(CCtlSession& session);
    // The settings bytes that travel, as the detector reports them now.
    static QByteArray Reported(CCtlSession& session);

    bool m_bPut = false;
    QString m_strFile;
};
