#pragma once

#include "server/CServerSharing.h"

#include <QDialog>
#include <QNetworkAddressEntry>

#include <memory>

class QListWidgetItem;

namespace Ui {
class CShareDialog;
}

// Asks, before a server is started, whom it shares the detector with: this
// computer only, or the networks ticked (wider ones than a /16 with a
// warning), read-only or with control for some addresses; shows what the
// other computers need (the fingerprint and the keys, read from the server
// program once a network is chosen); and whether the server outlives the
// client. OK stays disabled while the addresses that may control do not
// parse.
class CShareDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CShareDialog(const CServerSharing& sharing, QWidget* parent = nullptr);
    ~CShareDialog() override;

    CServerSharing GetSharing() const;
    // The networks offered: this PC's, and those chosen before.
    void SetLocalNetworks(const QList<QNetworkAddressEntry>& local);

private Q_SLOTS:
    void OnControlRadioToggled(bool bOn);
    void OnControlEditTextChanged();
    void OnNetworkListItemChanged(QListWidgetItem* item);

protected:
    void changeEvent(QEvent* event) override;

private:
    CServerSharing::Mode ChosenMode() const;
    QStringList CheckedNetworks() const;
    void ShowWide();
    void ShowIdentity();
    void Validate();
    QString ErrorText() const;

    std::unique_ptr<Ui::CShareDialog> m_pUi;
    CServerSharing m_initial;
    bool m_bIdentityRead = false;
};
