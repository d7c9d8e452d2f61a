#pragma once

#include "alerts/ALERT.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class CAlertTableModel;
class QItemSelection;

namespace Ui {
class CAlertListWindow;
}

// The alerts, newest first, and who acknowledged them. It only shows them:
// acknowledging is asked of whoever owns the alerts, which gives the new
// list back through SetAlerts. A refresh keeps the chosen rows and the place
// in the table wherever the same alerts are still there.
class CAlertListWindow : public QWidget
{
    Q_OBJECT

public:
    // Asked for the file to export to, given the one suggested; empty
    // cancels. Without one the file dialog asks.
    using Chooser = std::function<QString(const QString& suggested)>;

    explicit CAlertListWindow(QWidget* parent = nullptr);
    ~CAlertListWindow() override;

    // Oldest first, as CAlertList::Alerts() gives them; the rows of
    // acknowledgeRequested are indices into this list.
    void SetAlerts(const QList<ALERT>& alerts);
    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

Q_SIGNALS:
    // Indices of alerts not yet acknowledged, ascending.
    void acknowledgeRequested(const QList<int>& rows);

protected:
    void changeEvent(QEvent* event) override;

private Q_SLOTS:
    void OnAcknowledgeButtonClicked();
    void OnAcknowledgeAllButtonClicked();
    void OnExportButtonClicked();
    void OnSelectionChanged();

private:
    // What a reset of the rows would lose.
    struct VIEW_STATE
    {
        QList<ALERT> selected;
        ALERT current;
        bool hasCurrent = false;
        ALERT top;
        bool atTop = true;
        int horizontal = 0;
    };

    VIEW_STATE KeptState() const;
    void Restore(const VIEW_STATE& state);
    QList<int> SelectedIndices() const;
    QList<int> Unacknowledged(const QList<int>& indices) const;
    QString ChoosePath();
    void ShowError(const QString& error);
    void UpdateStatus();
    void SizeColumns();

    std::unique_ptr<Ui::CAlertListWindow> m_pUi;
    CAlertTableModel* m_pModel;
    Chooser m_chooser;
};
