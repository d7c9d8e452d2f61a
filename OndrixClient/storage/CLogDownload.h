#pragma once

#include <QObject>
#include <QString>

class CMetaDevice;
class CStoragePanel;
class QStatusBar;
class QTreeWidgetItem;
class QWidget;

// The event log's way from the detector to the storage: the request, the
// progress dialog until the device has it (with a retry on failure), one
// file per bank in the target folder, and the user told how it went.
class CLogDownload : public QObject
{
    Q_OBJECT

public:
    CLogDownload(CStoragePanel* storage, QStatusBar* statusBar, QWidget* window);

    // The file name (without extension) of the newest bank written, with its
    // folder, for the window to show; empty when there is nothing to show.
    QString Run(CMetaDevice* device, QTreeWidgetItem*& folder);

private:
    // Asks the device for its log until it arrives or the user gives up.
    bool Read(CMetaDevice* device);
    // One log data file per bank in the target folder, then the result.
    QString Store(CMetaDevice* device, QTreeWidgetItem*& folder);
    void Say(const QString& text);

    CStoragePanel* m_pStorage;
    QStatusBar* m_pStatusBar;
    QWidget* m_pWindow;
};
