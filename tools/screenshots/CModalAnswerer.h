#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QWidget;

// Stands in for the user at the modal windows the screenshot sequence opens:
// a message box is answered No where it asks (so a failed download does not
// retry for ever) and otherwise with its default button; the one dialog to
// be pictured is saved once it has settled and then cancelled.
class CModalAnswerer : public QObject
{
    Q_OBJECT

public:
    static constexpr int CHECK_MS = 50;

    CModalAnswerer();

    // The next modal dialog of that class is saved as a PNG to file once it
    // has been up for settleMs, then cancelled.
    void GrabNext(const QString& className, const QString& file, int settleMs);
    // Whether the last dialog asked for was saved.
    bool Grabbed() const { return m_bGrabbed; }
    // Every message box answered so far, oldest first.
    QStringList Messages() const { return m_messages; }

private Q_SLOTS:
    void OnTimer();

private:
    bool Answer(QWidget* modal);
    void Grab(QWidget* modal);

    QTimer m_timer;
    QStringList m_messages;
    QString m_strClassName;
    QString m_strFile;
    int m_nSettleMs = 0;
    QPointer<QWidget> m_pSeen;
    QElapsedTimer m_sinceSeen;
    bool m_bGrabbed = false;
};
