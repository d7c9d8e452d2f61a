#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CMetaDevice;
class IDevice;
class IDeviceGui;

namespace Ui {
class CStartupWindow;
}

// Chooses between a local device and a device on an Ondrix Server, and
// pairs the chosen device with its device GUI. Every window loads the
// plug-ins anew; the objects it gets are kept by the session, never by the
// window.
class CStartupWindow : public QDialog
{
    Q_OBJECT

public:
    explicit CStartupWindow(QWidget* parent = nullptr);
    ~CStartupWindow() override;

    // False after the "no device GUI" message: nothing can be connected.
    bool HasDeviceGuis() const;

    // Throws std::runtime_error when the server does not answer.
    bool ConnectDevice(bool bLocal, const QString& strUrl);
    // A proxy for a server that did not answer, with the first device GUI:
    // the main window can still open on it, offline.
    void ConnectOffline(const QString& strUrl);
    CMetaDevice* GetDevice() const;
    IDeviceGui* GetDeviceGui() const;

    // The address history: the address just used first, no duplicates.
    static QStringList MergeUrls(const QString& current, const QStringList& history);

private Q_SLOTS:
    void OnStartButton();
    void OnSearchButton();

protected:
    void changeEvent(QEvent* event) override;

private:
    void LoadPlugins();
    void DisableLocal();
    void FillUrls();
    bool ConnectLocal();
    bool ConnectNetwork();
    int ChooseRow(const QStringList& names, const QString& key, bool& chosen);
    IDeviceGui* GuiForRow(int row) const;
    IDeviceGui* GuiForType(const QString& type) const;
    void Pair(CMetaDevice* device, IDeviceGui* gui);
    void SaveChoice();

    std::unique_ptr<Ui::CStartupWindow> m_pUi;
    QList<IDevice*> m_devices;
    QList<IDeviceGui*> m_deviceGuis;
    bool m_bLocal = true;
    QString m_strUrl;
    CMetaDevice* m_pDevice = nullptr;
    IDeviceGui* m_pDeviceGui = nullptr;
};
