#include "report/CReportDialog.h"
#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CCompareBaselineDialog.h"
#include "sites/CSiteFolder.h"

#include "ui_CReportDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QSettings>

#include <algorithm>

namespace {

QString OrKept(const QString& text, const char* key)
{
    return text.isEmpty() ? QSettings().value(QLatin1String(key)).toString() : text;
}

// A time the user left as offered, where the data has none, stays unset.
QDateTime Edited(const QDateTime& shown, const QDateTime& offered)
{
    return shown == offered ? QDateTime() : shown;
}

} // namespace

CReportDialog::CReportDialog(const REPORT_INPUT& input, const QString& path, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CReportDialog>())
{
    m_pUi->setupUi(this);
    Ui::CReportDialog& ui = *m_pUi;
    ui.m_pSiteEdit->setText(OrKept(input.site, ClientSettingsKeys::REPORT_SITE));
    ui.m_pOperatorEdit->setText(OrKept(input.operatorName, ClientSettingsKeys::REPORT_OPERATOR));
    ui.m_pFromEdit->setDateTime(input.from.isValid() ? input.from : QDateTime::currentDateTime());
    ui.m_pToEdit->setDateTime(input.to.isValid() ? input.to : QDateTime::currentDateTime());
    // Without records there is no range: what the edits offer then is none.
    if (!input.from.isValid())
        m_offeredFrom = ui.m_pFromEdit->dateTime();
    if (!input.to.isValid())
        m_offeredTo = ui.m_pToEdit->dateTime();
    ui.m_pDetectorEdit->setText(input.detectorId);
    ui.m_pSettingsEdit->setPlainText(input.settings);
    ui.m_pSourcesLabel->setText(input.sources.join(QStringLiteral(", ")));
    ui.m_pPaperCombo->setCurrentIndex(input.paper == QPageSize::Letter ? 1 : 0);
    ui.m_pPathEdit->setText(path);
    ui.m_pOpenCheck->setChecked(QSettings().value(QLatin1String(ClientSettingsKeys::REPORT_OPEN), true).toBool());
    FillBaselines(input);
    connect(ui.m_pBrowseButton, &QPushButton::clicked, this, &CReportDialog::OnBrowseButton);
    connect(ui.m_pPathEdit, &QLineEdit::textChanged, this, &CReportDialog::UpdateOkButton);
    connect(ui.m_pButtonBox, &QDialogButtonBox::accepted, this, &CReportDialog::accept);
    connect(ui.m_pButtonBox, &QDialogButtonBox::rejected, this, &CReportDialog::reject);
    UpdateOkButton();
}

CReportDialog::~CReportDialog() = default;

void CReportDialog::Apply(REPORT_INPUT& input) const
{
    const Ui::CReportDialog& ui = *m_pUi;
    input.site = ui.m_pSiteEdit->text().trimmed();
    input.operatorName = ui.m_pOperatorEdit->text().trimmed();
    input.from = Edited(ui.m_pFromEdit->dateTime(), m_offeredFrom);
    input.to = Edited(ui.m_pToEdit->dateTime(), m_offeredTo);
    input.detectorId = ui.m_pDetectorEdit->text().trimmed();
    input.settings = ui.m_pSettingsEdit->toPlainText().trimmed();
    input.paper = ui.m_pPaperCombo->currentIndex() == 1 ? QPageSize::Letter : QPageSize::A4;
    input.baselineSite = ui.m_pBaselineCombo->currentData().toString();
    input.baselineMarginDb = ui.m_pBaselineMarginSpin->value();
}

void CReportDialog::FillBaselines(const REPORT_INPUT& input)
{
    Ui::CReportDialog& ui = *m_pUi;
    ui.m_pBaselineCombo->addItem(tr("None"), QString());
    const QStringList sites = CBaselineFile::Sites(CSiteFolder::Storage());
    for (const QString& site : sites)
        ui.m_pBaselineCombo->addItem(site, site);
    // The comparison last chosen is offered where the report names none.
    const QString site = input.baselineSite.isEmpty() ? CCompareBaselineDialog::KeptSite() : input.baselineSite;
    ui.m_pBaselineCombo->setCurrentIndex(std::max(0, ui.m_pBaselineCombo->findData(site)));
    ui.m_pBaselineMarginSpin->setValue(
        input.baselineSite.isEmpty() ? CCompareBaselineDialog::KeptMargin() : input.baselineMarginDb);
}

QString CReportDialog::Path() const
{
    QString path = m_pUi->m_pPathEdit->text().trimmed();
    if (!path.isEmpty() && !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    return path;
}

bool CReportDialog::OpenWhenDone() const
{
    return m_pUi->m_pOpenCheck->isChecked();
}

QPageSize::PageSizeId CReportDialog::DefaultPaper()
{
    const QLocale::Territory territory = QLocale::system().territory();
    const bool letter = territory == QLocale::UnitedStates || territory == QLocale::Canada
        || territory == QLocale::Mexico || territory == QLocale::Philippines;
    const int kept = QSettings()
                         .value(QLatin1String(ClientSettingsKeys::REPORT_PAPER),
                             letter ? int(QPageSize::Letter) : int(QPageSize::A4))
                         .toInt();
    return kept == int(QPageSize::Letter) ? QPageSize::Letter : QPageSize::A4;
}

QString CReportDialog::DefaultFolder(const QString& fallback)
{
    const QString kept = QSettings().value(QLatin1String(ClientSettingsKeys::REPORT_FOLDER)).toString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : fallback;
}

void CReportDialog::accept()
{
    QSettings settings;
    settings.setValue(QLatin1String(ClientSettingsKeys::REPORT_SITE), m_pUi->m_pSiteEdit->text().trimmed());
    settings.setValue(QLatin1String(ClientSettingsKeys::REPORT_OPERATOR), m_pUi->m_pOperatorEdit->text().trimmed());
    settings.setValue(QLatin1String(ClientSettingsKeys::REPORT_PAPER),
        m_pUi->m_pPaperCombo->currentIndex() == 1 ? int(QPageSize::Letter) : int(QPageSize::A4));
    settings.setValue(QLatin1String(ClientSettingsKeys::REPORT_OPEN), OpenWhenDone());
    settings.setValue(QLatin1String(ClientSettingsKeys::REPORT_FOLDER), QFileInfo(Path()).absolutePath());
    QDialog::accept();
}

void CReportDialog::OnBrowseButton()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Write the report"), Path(), tr("PDF document (*.pdf)"));
    if (!path.isEmpty())
        m_pUi->m_pPathEdit->setText(path);
}

void CReportDialog::UpdateOkButton()
{
    m_pUi->m_pButtonBox->button(QDialogButtonBox::Ok)->setEnabled(!m_pUi->m_pPathEdit->text().trimmed().isEmpty());
}

void CReportDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int paper = m_pUi->m_pPaperCombo->currentIndex();
        m_pUi->retranslateUi(this);
        m_pUi->m_pPaperCombo->setCurrentIndex(paper);
        m_pUi->m_pBaselineCombo->setItemText(0, tr("None"));
    }
    QDialog::changeEvent(event);
}
