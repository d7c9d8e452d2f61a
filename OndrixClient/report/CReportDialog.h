#pragma once

#include "report/REPORT_INPUT.h"

#include <QDateTime>
#include <QDialog>

#include <memory>

namespace Ui {
class CReportDialog;
}

// Before a report is written: its title block for editing (site, operator,
// date range, detector and its settings), the data it is made from, the
// paper, the file, whether to open it when it is written, and the site
// whose baseline the data is compared with (the last comparison's, unless
// the report says). The site, the operator, the paper, the folder and the
// last choice to open are kept in the settings for the next report.
class CReportDialog : public QDialog
{
    Q_OBJECT

public:
    CReportDialog(const REPORT_INPUT& input, const QString& path, QWidget* parent = nullptr);
    ~CReportDialog() override;

    // The title block and the paper as the user left them.
    void Apply(REPORT_INPUT& input) const;
    // Ends in ".pdf".
    QString Path() const;
    bool OpenWhenDone() const;

    // The paper of the last report, or the one the locale uses.
    static QPageSize::PageSizeId DefaultPaper();
    // The folder of the last report, or fallback.
    static QString DefaultFolder(const QString& fallback);

public Q_SLOTS:
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnBrowseButton();
    void UpdateOkButton();
    // None, then the sites with a baseline.
    void FillBaselines(const REPORT_INPUT& input);

    std::unique_ptr<Ui::CReportDialog> m_pUi;
    // What the date edits showed first when the data had no range.
    QDateTime m_offeredFrom;
    QDateTime m_offeredTo;
};
