#include "baseline/CCompareBaselineDialog.h"

#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "ui_CCompareBaselineDialog.h"

#include <QEvent>
#include <QSettings>

#include <cmath>

CCompareBaselineDialog::CCompareBaselineDialog(const QString& storage, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CCompareBaselineDialog>())
    , m_strStorage(storage)
{
    m_pUi->setupUi(this);
    m_pUi->m_pSiteCombo->addItems(CBaselineFile::Sites(storage));
    m_pUi->m_pMarginSpin->setValue(KeptMargin());
    SetSite(KeptSite());
    m_pUi->m_pErrorLabel->hide();
    if (m_pUi->m_pSiteCombo->count() == 0) {
        m_pUi->m_pErrorLabel->setText(
            tr("No site has a baseline yet: capture one first with Realtime > Capture Baseline..."));
        m_pUi->m_pErrorLabel->show();
    }
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::accepted, this, &CCompareBaselineDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::rejected, this, &CCompareBaselineDialog::reject);
}

CCompareBaselineDialog::~CCompareBaselineDialog() = default;

void CCompareBaselineDialog::SetSite(const QString& site)
{
    const int index = m_pUi->m_pSiteCombo->findText(site);
    if (index >= 0)
        m_pUi->m_pSiteCombo->setCurrentIndex(index);
}

void CCompareBaselineDialog::SetMargin(double marginDb)
{
    m_pUi->m_pMarginSpin->setValue(marginDb);
}

QStringList CCompareBaselineDialog::Sites() const
{
    QStringList sites;
    for (int i = 0; i < m_pUi->m_pSiteCombo->count(); ++i)
        sites.append(m_pUi->m_pSiteCombo->itemText(i));
    return sites;
}

double CCompareBaselineDialog::Margin() const
{
    return m_pUi->m_pMarginSpin->value();
}

QString CCompareBaselineDialog::Error() const
{
    return m_pUi->m_pErrorLabel->isHidden() ? QString() : m_pUi->m_pErrorLabel->text();
}

QString CCompareBaselineDialog::KeptSite()
{
    return QSettings().value(QLatin1String(ClientSettingsKeys::BASELINE_SITE)).toString();
}

double CCompareBaselineDialog::KeptMargin()
{
    const double kept
        = QSettings()
              .value(QLatin1String(ClientSettingsKeys::BASELINE_MARGIN_DB), CBaselineComparator::DEFAULT_MARGIN_DB)
              .toDouble();
    // A settings file edited by hand gives no margin a spin box could not.
    return std::isfinite(kept) && kept >= 0.0 && kept <= 60.0 ? kept : CBaselineComparator::DEFAULT_MARGIN_DB;
}

void CCompareBaselineDialog::accept()
{
    const QString site = m_pUi->m_pSiteCombo->currentText();
    CBaseline baseline;
    QString error;
    if (!CBaselineFile::Latest(m_strStorage, site, baseline, error)) {
        m_pUi->m_pErrorLabel->setText(error);
        m_pUi->m_pErrorLabel->show();
        return;
    }
    m_baseline = baseline;
    QSettings settings;
    settings.setValue(QLatin1String(ClientSettingsKeys::BASELINE_SITE), site);
    settings.setValue(QLatin1String(ClientSettingsKeys::BASELINE_MARGIN_DB), Margin());
    QDialog::accept();
}

void CCompareBaselineDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int site = m_pUi->m_pSiteCombo->currentIndex();
        m_pUi->retranslateUi(this);
        m_pUi->m_pSiteCombo->setCurrentIndex(site);
    }
    QDialog::changeEvent(event);
}
