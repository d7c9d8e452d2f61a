#pragma once

#include <QWidget>

class COverviewModel;
class COverviewPanel;

// The overview in a window of its own, for a second screen; its place is
// remembered.
class COverviewWindow : public QWidget
{
    Q_OBJECT

public:
    COverviewWindow(COverviewModel* model, QWidget* parent = nullptr);
    ~COverviewWindow() override;

    COverviewPanel* Panel() const { return m_pPanel; }

protected:
    void changeEvent(QEvent* event) override;

private:
    COverviewPanel* m_pPanel;
};
