#pragma once

#include "RZ450Queries.h"

#include <QByteArray>
#include <QString>

class CMetaDevice;
class IRZ450Device;

// The RZ450 queries through a device proxy: the local driver answers them
// directly, a server answers them over the proxy's connection. A thin view
// on the proxy, cheap to make for each use; it does not own the proxy.
//
// Over the network the queries throw what the proxy throws.
class CRZ450MetaDevice
{
public:
    explicit CRZ450MetaDevice(CMetaDevice* device);

    int GetLanguageID();
    bool IsSchedule();
    int GetCurrentBank();
    bool IsWaiting();
    int GetTmpX();
    int GetLevelDbm(int band);
    int GetThreshold(int band);
    int GetDbmCorrScale(int band);
    int GetEventCntDelay(int i);
    int GetIndicateBand(int i);
    bool IsIndicateBand(int band);
    QString GetBandName(int band);
    // Copies length points into buffer; false, leaving the buffer alone,
    // when fewer came back.
    bool GetSpectrumData(char* buffer, int length);
    int IsAbodeLevel();
    int IsShowFreq();
    int GetFreqMax();
    int GetLevelMax();
    int GetLevelNoise();
    int GetLevelDbMin();
    int GetDemodMode();
    int GetCntPeakFreq();
    int GetOverload();
    int GetMute();
    int GetVolume();
    int GetBypassPercent();

    // For a watcher of many detectors, a look in three exchanges: the
    // indication flags of bands 0 to 18 as bits (band 0 the lowest), and the
    // raw level and raw threshold byte of every band. A server that lacks
    // them is asked band by band.
    quint32 GetAlarmFlags();
    QByteArray GetLevels();
    QByteArray GetThresholds();

private:
    QByteArray AskBands(RZ450Queries::Index index, int (CRZ450MetaDevice::*perBand)(int));

    bool IsLocal() const;
    IRZ450Device* Local() const;
    template <typename Result>
    Result Ask(RZ450Queries::Index index);
    template <typename Result>
    Result Ask(RZ450Queries::Index index, int argument);
    QByteArray Send(const QString& command);

    CMetaDevice* m_pDevice;
};
