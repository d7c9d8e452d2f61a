#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class CManualWindow;
}

// The device's manual, as the device GUI supplies it, with find-as-you-type.
// A window of its own that only hides: the main window keeps it for its
// whole life and shows or hides it from the Help menu.
class CManualWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CManualWindow(QWidget* parent = nullptr);
    ~CManualWindow() override;

public Q_SLOTS:
    void OnFindEdit(QString strText);

private Q_SLOTS:
    // The next match of the same text.
    void OnFindEditReturn();

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowManual();
    void Find(const QString& text, int from);

    std::unique_ptr<Ui::CManualWindow> m_pUi;
};
