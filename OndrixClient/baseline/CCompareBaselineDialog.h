#pragma once

#include "baseline/CBaseline.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CCompareBaselineDialog;
}

// Asks which site's baseline the data is compared with, and by what
// margin. OK loads the site's newest baseline (CBaselineFile::Latest); a
// site or a baseline that cannot be had is told in the dialog, which stays
// open, and nothing is kept. A loaded choice is kept in the settings: the
// next comparison and the report offer it.
class CCompareBaselineDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CCompareBaselineDialog(const QString& storage, QWidget* parent = nullptr);
    ~CCompareBaselineDialog() override;

    void SetSite(const QString& site);
    void SetMargin(double marginDb);
    QStringList Sites() const;
    // Loaded at OK.
    const CBaseline& Baseline() const { return m_baseline; }
    double Margin() const;
    QString Error() const;

    // The site and margin of the last comparison.
    static QString KeptSite();
    static double KeptMargin();

    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::CCompareBaselineDialog> m_pUi;
    QString m_strStorage;
    CBaseline m_baseline;
};
