#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CDeviceSelectDialog;
}

// Lets the user pick one of several devices by its row.
class CDeviceSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CDeviceSelectDialog(QWidget* parent = nullptr);
    ~CDeviceSelectDialog() override;

    void AddDevice(const QString& name);
    void SetCurrentRow(int row);
    int GetSelectedIndex() const;

private Q_SLOTS:
    void OnSelectButton();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::CDeviceSelectDialog> m_pUi;
    int m_nSelected = 0;
};
