#pragma once

#include "alerts/ALERT_RULE.h"
#include "alerts/CAlertRuleText.h"

#include <QList>
#include <QPair>
#include <QWidget>

#include <memory>

class CAlertSound;

namespace Ui {
class CAlertRulesPage;
}

// The alert settings as Preferences edit them: each detector's rules, one
// table row a rule, and the site its baseline condition compares with; the
// sound's volume and mute. The rows of every detector are kept while the
// person goes from one to another, and are read only when all is done:
// Validate reads them all or names the first text it refuses, and Save
// writes what it read through CAlertSettings.
class CAlertRulesPage : public QWidget
{
    Q_OBJECT

public:
    enum Column { BandsColumn, SecondsColumn, ConditionColumn, ScheduleColumn };

    explicit CAlertRulesPage(QWidget* parent = nullptr);
    ~CAlertRulesPage() override;

    // Each detector's id and the name it is shown by; their kept settings
    // are read now. None: only the sound can be set.
    void SetDetectors(const QList<QPair<QString, QString>>& detectors);
    // The storage folder whose sites are offered for the baseline.
    void SetStorage(const QString& storage);
    // false: error names the detector, rule and field refused, and the page
    // shows that cell.
    bool Validate(QString& error);
    // What the last successful Validate read.
    void Save() const;

private Q_SLOTS:
    void OnDetectorComboIndexChanged(int index);
    void OnAddRuleButton();
    void OnRemoveRuleButton();
    void OnDefaultRulesButton();
    void OnTestSoundButton();
    void OnMuteCheckToggled(bool checked);
    void OnRulesTableCurrentCellChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    struct DETECTOR
    {
        QString id;
        QString label;
        QList<CAlertRuleText::ROW> rows;
        QString site;
        QList<ALERT_RULE> rules; // read by Validate
    };

    // The shown detector's rows and site into m_detectors, and back.
    void Keep();
    void Show(int index);
    void SetRows(const QList<ALERT_RULE>& rules);
    void AddRow(const CAlertRuleText::ROW& row);
    CAlertRuleText::ROW Row(int row) const;
    void FillConditionTexts();
    void UpdateButtons();
    // false: error set, and the page shows the detector and the cell.
    bool ValidateDetector(int index, QString& error);
    void ShowCell(int index, int row, int column);

    std::unique_ptr<Ui::CAlertRulesPage> m_pUi;
    QList<DETECTOR> m_detectors;
    int m_nShown = -1;
    CAlertSound* m_pSound = nullptr; // made at the first Test Sound
};
