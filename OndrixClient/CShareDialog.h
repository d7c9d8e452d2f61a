#pragma once

#include "CServerSharing.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CShareDialog;
}

// Asks, before a server is started, whom it shares the detector with. OK
// stays disabled while the addresses that may control do not parse.
class CShareDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CShareDialog(const CServerSharing& sharing, QWidget* parent = nullptr);
    ~CShareDialog() override;

    CServerSharing GetSharing() const;

private Q_SLOTS:
    void OnControlRadioToggled(bool bOn);
    void OnControlEditTextChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    CServerSharing::Mode ChosenMode() const;
    void Validate();
    QString ErrorText() const;

    std::unique_ptr<Ui::CShareDialog> m_pUi;
};
