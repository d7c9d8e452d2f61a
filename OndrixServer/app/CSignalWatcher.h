#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM as a Qt signal, delivered by the event loop where the
// server can stop cleanly; a handler itself may do next to nothing. After
// the first, a second such signal ends the program the default way, in
// case stopping hangs. One watcher at a time; elsewhere than on Unix it
// does nothing.
class CSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CSignalWatcher(QObject* parent = nullptr);
    ~CSignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void OnNotifierActivated();

    QSocketNotifier* m_pNotifier = nullptr;
};
