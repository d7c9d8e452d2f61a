#include "alerts/CAlertSound.h"

#include "app/CClientResources.h"
#include "app/ClientLog.h"

#include <QAudio>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>

CAlertSound::CAlertSound(QObject* parent)
    : QObject(parent)
    , m_repeatTimer(this)
{
    CClientResources::Init();
    m_repeatTimer.setInterval(REPEAT_MS);
    connect(&m_repeatTimer, &QTimer::timeout, this, &CAlertSound::OnRepeatTimer);
}

CAlertSound::~CAlertSound() = default;

void CAlertSound::SetVolume(int percent)
{
    m_nVolume = std::clamp(percent, 0, CAlertSettings::MAX_VOLUME);
    ApplyVolume();
}

void CAlertSound::SetMuted(bool muted)
{
    m_bMuted = muted;
    if (m_pEffect)
        m_pEffect->setMuted(muted);
}

void CAlertSound::Start()
{
    if (m_bRepeating)
        return;
    m_bRepeating = true;
    m_repeatTimer.start();
    Play();
}

void CAlertSound::Stop()
{
    m_bRepeating = false;
    m_repeatTimer.stop();
    if (m_pEffect)
        m_pEffect->stop();
}

void CAlertSound::Preview()
{
    Play();
}

bool CAlertSound::HasDevice() const
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void CAlertSound::OnRepeatTimer()
{
    Play();
}

void CAlertSound::Play()
{
    if (!HasDevice()) {
        if (!m_bToldNoDevice)
            qCWarning(lcClient, "No sound output was found, so alerts are not heard.");
        m_bToldNoDevice = true;
        return;
    }
    m_bToldNoDevice = false;
    if (!m_pEffect) {
        m_pEffect = new QSoundEffect(this);
        m_pEffect->setSource(QUrl(QLatin1String(SOURCE)));
        m_pEffect->setMuted(m_bMuted);
        ApplyVolume();
    }
    // The output may have changed since the last chime: a headset plugged in.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (m_pEffect->audioDevice() != output)
        m_pEffect->setAudioDevice(output);
    m_pEffect->play();
}

void CAlertSound::ApplyVolume()
{
    if (m_pEffect)
        m_pEffect->setVolume(float(QAudio::convertVolume(m_nVolume / qreal(CAlertSettings::MAX_VOLUME),
            QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale)));
}
