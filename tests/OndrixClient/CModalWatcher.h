#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Answers the modal windows the client opens while a test runs: message
// boxes are noted and answered, the device chooser gets the row it is told
// to choose (or is cancelled), the sharing dialog is confirmed as it stands
// (or cancelled). Runs on the GUI thread, from inside the
// modal loops themselves.
class CModalWatcher : public QObject
{
    Q_OBJECT

public:
    struct MESSAGE
    {
        int icon; // QMessageBox::Icon
        QString text;
    };

    CModalWatcher();

    // Asked first about every modal window; true when it took care of it.
    void SetHandler(std::function<bool(QWidget*)> handler) { m_handler = std::move(handler); }
    // -1 cancels the chooser.
    void SetChooserRow(int row) { m_nChooserRow = row; }
    // QMessageBox::StandardButton to press in a question; Yes by default.
    void SetAnswer(int button) { m_nAnswer = button; }
    // The Start Server sharing dialog gets OK, or Cancel when false.
    void SetShareAccepted(bool bAccept) { m_bShareAccepted = bAccept; }

    QList<MESSAGE> Messages() const { return m_messages; }
    QStringList MessageTexts() const;
    // Rows the chooser offered and had current when it opened.
    QList<QStringList> ChooserLists() const { return m_chooserLists; }
    QList<int> ChooserRows() const { return m_chooserRows; }
    void Reset();

private Q_SLOTS:
    void OnTimer();

private:
    bool AnswerMessage(QWidget* widget);
    bool AnswerChooser(QWidget* widget);
    bool AnswerShareDialog(QWidget* widget);

    QTimer m_timer;
    std::function<bool(QWidget*)> m_handler;
    int m_nChooserRow = 0;
    int m_nAnswer;
    bool m_bShareAccepted = true;
    QList<MESSAGE> m_messages;
    QList<QStringList> m_chooserLists;
    QList<int> m_chooserRows;
};
