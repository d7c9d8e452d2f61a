#include "connect/CStartupWindow.h"
#include "app/ClientSettingsKeys.h"

#include "ui_CStartupWindow.h"

#include "CPlugHub.h"
#include "IDevice.h"
#include "IDeviceGui.h"
#include "app/CClientSession.h"
#include "app/CErrorText.h"
#include "connect/CDeviceSelectDialog.h"
#include "connect/CKnownServers.h"
#include "connect/CServerSearchDialog.h"
#include "connect/CServerTrust.h"
#include "proxy/CMetaDevice.h"

#include <QMessageBox>
#include <QSettings>

#include <stdexcept>
#include <utility>

namespace {

std::unique_ptr<IPlugHub> CreatePlugHub()
{
    const QString folder = CClientSession::PluginFolder();
    if (!folder.isEmpty())
        return std::make_unique<CPlugHub>(folder);
    IPlugHub* hub = nullptr;
    if (!QueryPlugHubInterface(&hub) || !hub)
        throw std::runtime_error("The module loader is not available");
    return std::unique_ptr<IPlugHub>(hub);
}

// A plug-in may answer with no object; nothing can be done with one.
template <typename Object>
void DropNulls(QList<Object*>& objects)
{
    objects.removeAll(nullptr);
}

} // namespace

CStartupWindow::CStartupWindow(QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CStartupWindow>())
{
    m_pUi->setupUi(this);
    QSettings settings;
    m_pUi->m_pLocalRadio->setChecked(settings.value(ClientSettingsKeys::STARTUP_LOCAL_RADIO, false).toBool());
    m_pUi->m_pNetworkRadio->setChecked(settings.value(ClientSettingsKeys::STARTUP_NETWORK_RADIO, true).toBool());
    LoadPlugins();
    FillUrls();
    connect(m_pUi->m_pStartButton, &QPushButton::clicked, this, &CStartupWindow::OnStartButton);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CStartupWindow::reject);
    connect(m_pUi->m_pSearchButton, &QPushButton::clicked, this, &CStartupWindow::OnSearchButton);
}

CStartupWindow::~CStartupWindow() = default;

void CStartupWindow::LoadPlugins()
{
    try {
        std::unique_ptr<IPlugHub> hub = CreatePlugHub();
        hub->Init();
        hub->LoadDevices(m_devices);
        DropNulls(m_devices);
        CClientSession::Keep(m_devices);
        if (m_devices.isEmpty())
            DisableLocal();
        hub->LoadDeviceGuis(m_deviceGuis);
        DropNulls(m_deviceGuis);
        CClientSession::Keep(m_deviceGuis);
    } catch (const std::exception&) {
        DisableLocal();
    }
    if (m_deviceGuis.isEmpty()) {
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(),
            tr("No one device GUI library was found! Cannot continue!"));
    }
}

void CStartupWindow::DisableLocal()
{
    m_pUi->m_pLocalRadio->setEnabled(false);
    m_pUi->m_pNetworkRadio->setChecked(true);
}

void CStartupWindow::FillUrls()
{
    const QStringList urls = QSettings().value(ClientSettingsKeys::STARTUP_URLS).toStringList();
    m_pUi->m_pUrlsCombo->addItems(urls);
    if (urls.isEmpty())
        m_pUi->m_pUrlsCombo->setEditText(QStringLiteral("localhost"));
}

bool CStartupWindow::HasDeviceGuis() const
{
    return !m_deviceGuis.isEmpty();
}

CMetaDevice* CStartupWindow::GetDevice() const
{
    return m_pDevice;
}

IDeviceGui* CStartupWindow::GetDeviceGui() const
{
    return m_pDeviceGui;
}

bool CStartupWindow::ConnectDevice(bool bLocal, const QString& strUrl)
{
    m_bLocal = bLocal;
    m_strUrl = strUrl;
    if (!HasDeviceGuis())
        return false;
    return bLocal ? ConnectLocal() : ConnectNetwork();
}

bool CStartupWindow::ConnectLocal()
{
    int row = 0;
    if (m_devices.size() >= 2) {
        QStringList names;
        for (IDevice* device : std::as_const(m_devices))
            names.append(device->GetDevID());
        bool chosen = false;
        row = ChooseRow(names, QLatin1String(ClientSettingsKeys::STARTUP_LOCAL_DEVICE), chosen);
        if (!chosen)
            return false;
    }
    // Without a driver plug-in the proxy gets no device: it then acts as a
    // network proxy without an address, which never connects (offline).
    auto* device = new CMetaDevice(m_devices.value(row, nullptr));
    CClientSession::Keep(device);
    device->Initialize();
    Pair(device, GuiForRow(row));
    if (m_devices.size() >= 2)
        QSettings().setValue(ClientSettingsKeys::STARTUP_LOCAL_DEVICE, row);
    return true;
}

bool CStartupWindow::ConnectNetwork()
{
    auto device = std::make_unique<CMetaDevice>(m_strUrl);
    CKnownServers known;
    const CServerTrust::Outcome outcome = CServerTrust::Connect(this, *device, known);
    if (outcome == CServerTrust::Refused)
        return false;
    if (outcome == CServerTrust::Unreachable)
        throw std::runtime_error(CErrorText::NETWORK_ERROR);
    QStringList names = device->GetServerDevicesList();
    // An empty answer lists no device, not one without a name.
    if (names.size() == 1 && names.first().isEmpty())
        names.clear();
    if (names.isEmpty()) {
        QMessageBox::warning(this, QCoreApplication::applicationName(),
            tr("No devices are connected to server ") + m_strUrl + QStringLiteral("!"));
        return false;
    }
    int row = 0;
    if (names.size() > 1) {
        bool chosen = false;
        row = ChooseRow(names, QLatin1String(ClientSettingsKeys::STARTUP_NETWORK_DEVICE), chosen);
        if (!chosen)
            return false;
    }
    device->SelectServerDevice(names[row]);
    QSettings().setValue(ClientSettingsKeys::STARTUP_NETWORK_DEVICE, row);
    IDeviceGui* gui = GuiForType(names[row]);
    if (!gui) {
        QMessageBox::warning(this, QCoreApplication::applicationName(), tr("Unsupported device!"));
        return false;
    }
    gui->SetDevice(device.get());
    device->FollowLive();
    m_pDevice = device.release();
    CClientSession::Keep(m_pDevice);
    m_pDeviceGui = gui;
    return true;
}

void CStartupWindow::ConnectOffline(const QString& strUrl)
{
    m_bLocal = false;
    m_strUrl = strUrl;
    if (!HasDeviceGuis())
        return;
    auto* device = new CMetaDevice(strUrl);
    CClientSession::Keep(device);
    CServerTrust::Apply(*device, CKnownServers());
    // Tried again and again: the server may come up later.
    device->FollowLive();
    Pair(device, GuiForRow(0));
}

void CStartupWindow::Pair(CMetaDevice* device, IDeviceGui* gui)
{
    m_pDevice = device;
    m_pDeviceGui = gui;
    m_pDeviceGui->SetDevice(m_pDevice);
}

int CStartupWindow::ChooseRow(const QStringList& names, const QString& key, bool& chosen)
{
    CDeviceSelectDialog dialog;
    for (const QString& name : names)
        dialog.AddDevice(name);
    const int stored = QSettings().value(key, 0).toInt();
    dialog.SetCurrentRow(stored >= 0 && stored < names.size() ? stored : 0);
    chosen = dialog.exec() == QDialog::Accepted;
    const int row = dialog.GetSelectedIndex();
    chosen = chosen && row >= 0 && row < names.size();
    return row;
}

IDeviceGui* CStartupWindow::GuiForRow(int row) const
{
    // Devices and GUIs pair by position; a driver without a GUI of its own
    // at that place falls back to the first GUI rather than to nothing.
    return m_deviceGuis.value(row, m_deviceGuis.first());
}

IDeviceGui* CStartupWindow::GuiForType(const QString& type) const
{
    for (IDeviceGui* gui : m_deviceGuis) {
        if (gui->GetDeviceType() == type)
            return gui;
    }
    return nullptr;
}

QStringList CStartupWindow::MergeUrls(const QString& current, const QStringList& history)
{
    QStringList urls { current };
    for (const QString& url : history) {
        if (!urls.contains(url))
            urls.append(url);
    }
    return urls;
}

void CStartupWindow::OnStartButton()
{
    for (IDeviceGui* gui : std::as_const(m_deviceGuis))
        gui->Stop();
    m_bLocal = m_pUi->m_pLocalRadio->isChecked();
    m_strUrl = m_pUi->m_pUrlsCombo->currentText();
    bool connected = false;
    try {
        connected = ConnectDevice(m_bLocal, m_strUrl);
    } catch (const std::exception& error) {
        QMessageBox::critical(this, QCoreApplication::applicationName(),
            tr("Error occurred: ") + CErrorText::FromException(error));
        return;
    }
    if (!connected)
        return;
    SaveChoice();
    m_pDeviceGui->Start();
    accept();
}

void CStartupWindow::SaveChoice()
{
    QSettings settings;
    settings.setValue(ClientSettingsKeys::STARTUP_LOCAL_RADIO, m_pUi->m_pLocalRadio->isChecked());
    settings.setValue(ClientSettingsKeys::STARTUP_NETWORK_RADIO, m_pUi->m_pNetworkRadio->isChecked());
    QStringList history;
    for (int i = 0; i < m_pUi->m_pUrlsCombo->count(); ++i)
        history.append(m_pUi->m_pUrlsCombo->itemText(i));
    settings.setValue(ClientSettingsKeys::STARTUP_URLS, MergeUrls(m_pUi->m_pUrlsCombo->currentText(), history));
}

void CStartupWindow::OnSearchButton()
{
    CServerSearchDialog dialog;
    if (dialog.exec() == QDialog::Accepted)
        m_pUi->m_pUrlsCombo->setEditText(dialog.GetSelectedServer());
}

void CStartupWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_pUi->retranslateUi(this);
    QDialog::changeEvent(event);
}
