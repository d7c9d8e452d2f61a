#include "alerts/CAlertRulesPage.h"

#include "alerts/CAlertRules.h"
#include "alerts/CAlertSettings.h"
#include "alerts/CAlertSound.h"
#include "sites/CSiteFolder.h"
#include "ui_CAlertRulesPage.h"

#include <QComboBox>
#include <QEvent>
#include <QSignalBlocker>

CAlertRulesPage::CAlertRulesPage(QWidget* parent)
    : QWidget(parent)
    , m_pUi(std::make_unique<Ui::CAlertRulesPage>())
{
    m_pUi->setupUi(this);
    Ui::CAlertRulesPage& ui = *m_pUi;
    ui.m_pVolumeSlider->setRange(0, CAlertSettings::MAX_VOLUME);
    ui.m_pVolumeSlider->setValue(CAlertSettings::Volume());
    ui.m_pMuteCheck->setChecked(CAlertSettings::Muted());
    ui.m_pTestSoundButton->setEnabled(!ui.m_pMuteCheck->isChecked());
    ui.m_pSoundNoteLabel->hide();
    SetStorage(CSiteFolder::Storage());
    connect(ui.m_pDetectorCombo, &QComboBox::currentIndexChanged, this, &CAlertRulesPage::OnDetectorComboIndexChanged);
    connect(ui.m_pAddRuleButton, &QPushButton::clicked, this, &CAlertRulesPage::OnAddRuleButton);
    connect(ui.m_pRemoveRuleButton, &QPushButton::clicked, this, &CAlertRulesPage::OnRemoveRuleButton);
    connect(ui.m_pDefaultRulesButton, &QPushButton::clicked, this, &CAlertRulesPage::OnDefaultRulesButton);
    connect(ui.m_pTestSoundButton, &QPushButton::clicked, this, &CAlertRulesPage::OnTestSoundButton);
    connect(ui.m_pMuteCheck, &QCheckBox::toggled, this, &CAlertRulesPage::OnMuteCheckToggled);
    connect(ui.m_pRulesTable, &QTableWidget::currentCellChanged, this,
        &CAlertRulesPage::OnRulesTableCurrentCellChanged);
    SetDetectors({});
}

CAlertRulesPage::~CAlertRulesPage() = default;

void CAlertRulesPage::SetDetectors(const QList<QPair<QString, QString>>& detectors)
{
    m_detectors.clear();
    for (const auto& [id, label] : detectors) {
        DETECTOR detector { id, label, {}, CAlertSettings::Site(id), {} };
        for (const ALERT_RULE& rule : CAlertSettings::Rules(id))
            detector.rows.append(CAlertRuleText::Format(rule));
        m_detectors.append(detector);
    }
    m_nShown = -1;
    {
        const QSignalBlocker blocker(m_pUi->m_pDetectorCombo);
        m_pUi->m_pDetectorCombo->clear();
        for (const DETECTOR& detector : std::as_const(m_detectors))
            m_pUi->m_pDetectorCombo->addItem(detector.label);
    }
    const bool any = !m_detectors.isEmpty();
    m_pUi->m_pNoDetectorsLabel->setVisible(!any);
    m_pUi->m_pRulesGroup->setEnabled(any);
    Show(any ? 0 : -1);
}

void CAlertRulesPage::SetStorage(const QString& storage)
{
    const QString site = m_pUi->m_pSiteCombo->currentText();
    m_pUi->m_pSiteCombo->clear();
    m_pUi->m_pSiteCombo->addItems(CSiteFolder::Sites(storage));
    m_pUi->m_pSiteCombo->setCurrentText(site);
}

bool CAlertRulesPage::Validate(QString& error)
{
    Keep();
    for (int i = 0; i < m_detectors.size(); ++i) {
        if (!ValidateDetector(i, error))
            return false;
    }
    return true;
}

void CAlertRulesPage::Save() const
{
    for (const DETECTOR& detector : m_detectors) {
        CAlertSettings::SetRules(detector.id, detector.rules);
        CAlertSettings::SetSite(detector.id, detector.site);
    }
    CAlertSettings::SetVolume(m_pUi->m_pVolumeSlider->value());
    CAlertSettings::SetMuted(m_pUi->m_pMuteCheck->isChecked());
}

void CAlertRulesPage::OnDetectorComboIndexChanged(int index)
{
    Keep();
    Show(index);
}

void CAlertRulesPage::OnAddRuleButton()
{
    AddRow(CAlertRuleText::Format(ALERT_RULE {}));
    m_pUi->m_pRulesTable->setCurrentCell(m_pUi->m_pRulesTable->rowCount() - 1, BandsColumn);
    UpdateButtons();
}

void CAlertRulesPage::OnRemoveRuleButton()
{
    m_pUi->m_pRulesTable->removeRow(m_pUi->m_pRulesTable->currentRow());
    UpdateButtons();
}

void CAlertRulesPage::OnDefaultRulesButton()
{
    SetRows(CAlertRules::Default());
}

void CAlertRulesPage::OnTestSoundButton()
{
    if (!m_pSound)
        m_pSound = new CAlertSound(this);
    const bool heard = m_pSound->HasDevice();
    m_pUi->m_pSoundNoteLabel->setText(
        heard ? QString() : tr("No sound output was found on this computer, so alerts cannot be heard."));
    m_pUi->m_pSoundNoteLabel->setVisible(!heard);
    m_pSound->SetVolume(m_pUi->m_pVolumeSlider->value());
    m_pSound->Preview();
}

void CAlertRulesPage::OnMuteCheckToggled(bool checked)
{
    // Muted, a test would be as silent as the alerts.
    m_pUi->m_pTestSoundButton->setEnabled(!checked);
}

void CAlertRulesPage::OnRulesTableCurrentCellChanged()
{
    UpdateButtons();
}

void CAlertRulesPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        FillConditionTexts();
    }
    QWidget::changeEvent(event);
}

void CAlertRulesPage::Keep()
{
    if (m_nShown < 0 || m_nShown >= m_detectors.size())
        return;
    DETECTOR& detector = m_detectors[m_nShown];
    detector.rows.clear();
    for (int row = 0; row < m_pUi->m_pRulesTable->rowCount(); ++row)
        detector.rows.append(Row(row));
    detector.site = m_pUi->m_pSiteCombo->currentText();
}

void CAlertRulesPage::Show(int index)
{
    m_nShown = index;
    m_pUi->m_pRulesTable->setRowCount(0);
    const bool shown = index >= 0 && index < m_detectors.size();
    if (shown) {
        for (const CAlertRuleText::ROW& row : std::as_const(m_detectors[index].rows))
            AddRow(row);
    }
    m_pUi->m_pSiteCombo->setCurrentText(shown ? m_detectors[index].site : QString());
    UpdateButtons();
}

void CAlertRulesPage::SetRows(const QList<ALERT_RULE>& rules)
{
    m_pUi->m_pRulesTable->setRowCount(0);
    for (const ALERT_RULE& rule : rules)
        AddRow(CAlertRuleText::Format(rule));
    UpdateButtons();
}

void CAlertRulesPage::AddRow(const CAlertRuleText::ROW& row)
{
    QTableWidget* table = m_pUi->m_pRulesTable;
    const int number = table->rowCount();
    table->insertRow(number);
    table->setItem(number, BandsColumn, new QTableWidgetItem(row.bands));
    table->setItem(number, SecondsColumn, new QTableWidgetItem(row.seconds));
    table->setItem(number, ScheduleColumn, new QTableWidgetItem(row.schedule));
    auto* condition = new QComboBox(table);
    condition->addItem(CAlertRuleText::ConditionText(ALERT_RULE::Alarm), int(ALERT_RULE::Alarm));
    condition->addItem(CAlertRuleText::ConditionText(ALERT_RULE::OverBaseline), int(ALERT_RULE::OverBaseline));
    condition->setCurrentIndex(condition->findData(int(row.condition)));
    table->setCellWidget(number, ConditionColumn, condition);
}

CAlertRuleText::ROW CAlertRulesPage::Row(int row) const
{
    const QTableWidget* table = m_pUi->m_pRulesTable;
    const auto text = [table, row](int column) {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QString();
    };
    const auto* condition = qobject_cast<const QComboBox*>(table->cellWidget(row, ConditionColumn));
    return { text(BandsColumn), text(SecondsColumn),
        condition ? ALERT_RULE::Condition(condition->currentData().toInt()) : ALERT_RULE::Alarm, text(ScheduleColumn) };
}

void CAlertRulesPage::FillConditionTexts()
{
    const QTableWidget* table = m_pUi->m_pRulesTable;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (auto* condition = qobject_cast<QComboBox*>(table->cellWidget(row, ConditionColumn))) {
            condition->setItemText(0, CAlertRuleText::ConditionText(ALERT_RULE::Alarm));
            condition->setItemText(1, CAlertRuleText::ConditionText(ALERT_RULE::OverBaseline));
        }
    }
}

void CAlertRulesPage::UpdateButtons()
{
    const QTableWidget* table = m_pUi->m_pRulesTable;
    const bool shown = m_nShown >= 0;
    m_pUi->m_pAddRuleButton->setEnabled(shown && table->rowCount() < CAlertRules::MAX_RULES);
    // A detector keeps one rule at least: the rules' text holds no empty list.
    m_pUi->m_pRemoveRuleButton->setEnabled(shown && table->rowCount() > 1 && table->currentRow() >= 0);
    m_pUi->m_pDefaultRulesButton->setEnabled(shown);
}

bool CAlertRulesPage::ValidateDetector(int index, QString& error)
{
    DETECTOR& detector = m_detectors[index];
    QList<ALERT_RULE> rules;
    for (int row = 0; row < detector.rows.size(); ++row) {
        ALERT_RULE rule;
        CAlertRuleText::Field field = CAlertRuleText::Bands;
        QString why;
        const bool read = CAlertRuleText::Read(detector.rows[row], rule, field, why);
        if (read && rule.condition == ALERT_RULE::OverBaseline && detector.site.trimmed().isEmpty()) {
            field = CAlertRuleText::Condition;
            why = tr("\"%1\" needs a site for the baseline: choose one below, or let the rule alert on the alarm.")
                      .arg(CAlertRuleText::ConditionText(ALERT_RULE::OverBaseline));
        } else if (read) {
            rules.append(rule);
            continue;
        }
        const QTableWidgetItem* header = m_pUi->m_pRulesTable->horizontalHeaderItem(field);
        error = tr("Detector \"%1\", rule %2, %3: %4")
                    .arg(detector.label, QString::number(row + 1), header ? header->text() : QString(), why);
        ShowCell(index, row, field);
        return false;
    }
    QString why;
    if (!detector.site.isEmpty() && !CSiteFolder::IsValidName(detector.site, why)) {
        error = tr("Detector \"%1\", site for the baseline: %2").arg(detector.label, why);
        ShowCell(index, -1, -1);
        return false;
    }
    detector.rules = rules;
    return true;
}

void CAlertRulesPage::ShowCell(int index, int row, int column)
{
    if (m_nShown != index)
        m_pUi->m_pDetectorCombo->setCurrentIndex(index);
    if (row < 0) {
        m_pUi->m_pSiteCombo->setFocus();
        return;
    }
    m_pUi->m_pRulesTable->setCurrentCell(row, column);
    m_pUi->m_pRulesTable->setFocus();
}
