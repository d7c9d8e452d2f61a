#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class CProgressDialog;
}

// Shows the progress figure of the current device while it works on a
// request, and closes itself when the figure reaches the value that means
// done (accepted) or failed (rejected). Cancel rejects. A rejected dialog
// can be run again for a retry.
class CProgressDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int POLL_MS = 200;

    CProgressDialog(QString strMessage, int nAcceptValue, int nRejectValue, QWidget* parent = nullptr);
    ~CProgressDialog() override;

public Q_SLOTS:
    void OnTimer();
    void OnCancelButton();

private:
    std::unique_ptr<Ui::CProgressDialog> m_pUi;
    QTimer m_timer;
    int m_nAcceptValue;
    int m_nRejectValue;
};
