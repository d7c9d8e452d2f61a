#pragma once

#include "connect/CServerSearchThread.h"

#include <QDialog>
#include <QProgressDialog>

#include <memory>

namespace Ui {
class CServerSearchDialog;
}

// Lists the Ondrix Servers that a search finds and returns the one chosen.
class CServerSearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CServerSearchDialog(QWidget* parent = nullptr);
    ~CServerSearchDialog() override;

    QString GetSelectedServer() const;
    // Tests search a subnet of their own instead of the machine's.
    void SetAddressEntries(const QList<QNetworkAddressEntry>& entries);

private Q_SLOTS:
    void OnSearchButton();
    void OnSelectButton();
    void OnServerFound(QString strServer);
    void OnProgressChanged(int nPercent, QString strMessage);
    void OnFinished();

protected:
    void changeEvent(QEvent* event) override;

private:
    void TranslateProgress();

    std::unique_ptr<Ui::CServerSearchDialog> m_pUi;
    CServerSearchThread m_thread;
    QProgressDialog m_progress;
    QString m_strServer;
};
