#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class COverviewModel;
class QTableView;

namespace Ui {
class COverviewPanel;
}

// The overview's rows with the buttons that change them: shown in a window
// of its own and in the main window's overview mode, both on one model. It
// asks; the overview's actions do.
class COverviewPanel : public QWidget
{
    Q_OBJECT

public:
    COverviewPanel(COverviewModel* model, QWidget* parent = nullptr);
    ~COverviewPanel() override;

    QTableView* Table() const;
    QList<int> SelectedRows() const;

Q_SIGNALS:
    void addRequested();
    void searchRequested();
    void renameRequested(int row);
    void removeRequested(const QList<int>& rows);
    void openRequested(int row);
    void alertsRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnTableDoubleClicked(const QModelIndex& index);
    void OnRenameButtonClicked();
    void OnRemoveButtonClicked();
    void OnOpenButtonClicked();
    void UpdateSummary();
    void UpdateButtons();

    std::unique_ptr<Ui::COverviewPanel> m_pUi;
    COverviewModel* m_pModel;
};
