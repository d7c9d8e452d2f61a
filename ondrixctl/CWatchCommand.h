#pragma once

#include "CCtlCommand.h"
#include "RZ450_LOOK.h"
#include "alerts/ALERT_RULE.h"
#include "alerts/CAlertTracker.h"
#include "baseline/CBaseline.h"
#include "baseline/CBaselineComparator.h"

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class CCtlConsole;
class CLookWorker;
class QThread;

// `watch [--device URL]... [--rules FILE] [--site NAME]`: looks at each
// detector twice a second, judges its bands by the alert rules (any alarm
// lasting 3 s without a rules file) and prints one JSON line (CAlertJson)
// as each alert starts and as it ends, until a signal stops it. A detector
// that cannot be reached is said once on standard error and tried again;
// the others go on.
class CWatchCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CWatchCommand)

public:
    CWatchCommand();
    ~CWatchCommand() override;

    QString Name() const override { return QStringLiteral("watch"); }
    QString Synopsis() const override;
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

private:
    struct DETECTOR
    {
        QString name;
        std::unique_ptr<CAlertTracker> tracker;
        std::unique_ptr<CBaselineComparator> comparator;
        QString state; // what was said of it last
        QThread* thread = nullptr;
        CLookWorker* worker = nullptr;
    };

    bool LoadRules(QString& error);
    void StartDetectors(CCtlSession& session);
    void StopDetectors();
    void OnLook(int index, const RZ450_LOOK& look);
    void SayState(DETECTOR& detector, const RZ450_LOOK& look);

    QString m_strRulesFile;
    QString m_strSite;
    QString m_strStorage;
    double m_dMargin = 0.0;
    QList<ALERT_RULE> m_rules;
    CBaseline m_baseline;
    std::vector<DETECTOR> m_detectors;
    QStringList m_bandNames; // English, whatever the detectors' language
    CCtlConsole* m_pConsole = nullptr;
    QObject m_receiver; // looks come to the main thread through it
};
