#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CServerTrustDialog;
}

// Asked on the first connection to an encrypted server, and when it refused
// the key: shows the fingerprint the server presented, for the user to
// compare with the one its owner reads out, and takes the access key.
class CServerTrustDialog : public QDialog
{
    Q_OBJECT

public:
    CServerTrustDialog(const QString& server, const QString& fingerprint, bool keyRefused, QWidget* parent = nullptr);
    ~CServerTrustDialog() override;

    QString Key() const;

private:
    void OnKeyEditTextChanged(const QString& text);

    std::unique_ptr<Ui::CServerTrustDialog> m_pUi;
};
