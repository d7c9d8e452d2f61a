#pragma once

#include "alerts/CAlertSettings.h"

#include <QObject>
#include <QTimer>

class QSoundEffect;

// The chime of an alert, heard again every REPEAT_MS until it is stopped,
// through Qt Multimedia. Nothing here waits: the sound is loaded and played
// by the audio backend in its own time. A computer with no sound output
// hears nothing, which the log says once; the sound is made at its first
// playing, so a program that never alerts never opens the audio backend.
class CAlertSound : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* SOURCE = "qrc:/CMainWindow/alert.wav";
    static constexpr int REPEAT_MS = 2500;

    explicit CAlertSound(QObject* parent = nullptr);
    ~CAlertSound() override;

    // 0 to CAlertSettings::MAX_VOLUME percent, as the ear hears it.
    void SetVolume(int percent);
    int Volume() const { return m_nVolume; }
    // Muted, the sound goes on repeating unheard, and is heard again at once
    // when unmuted.
    void SetMuted(bool muted);
    bool IsMuted() const { return m_bMuted; }

    void Start();
    void Stop();
    bool IsRepeating() const { return m_bRepeating; }
    // Once, as the alerts would sound, for a person to hear the volume.
    void Preview();

    // Whether Qt Multimedia knows any audio output on this computer.
    virtual bool HasDevice() const;

private Q_SLOTS:
    void OnRepeatTimer();

private:
    void Play();
    void ApplyVolume();

    QTimer m_repeatTimer;
    QSoundEffect* m_pEffect = nullptr;
    int m_nVolume = CAlertSettings::DEFAULT_VOLUME;
    bool m_bMuted = false;
    bool m_bRepeating = false;
    bool m_bToldNoDevice = false;
};
