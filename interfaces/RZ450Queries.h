#pragma once

#include "IRZ450Device.h"
#include "REQUEST_FORM.h"
#include "RZ450Layout.h"

// The RZ450's own queries on the server's text protocol: the command text of
// each, the shape of its argument and the driver operation that answers it.
// The proxy builds its requests from this table and the server answers from
// it, so the two cannot drift apart.
namespace RZ450Queries {

// What the answer carries, and so which member below is set. The last
// three set none: the server builds them from the operations of each band
// (RZ450Alarm.h), so that a program watching many detectors asks once a
// look, not once a band.
enum Kind { Number, Flag, NumberOf, FlagOf, TextOf, Spectrum, AlarmFlags, Levels, Thresholds };

struct QUERY
{
    REQUEST_FORM form;
    Kind kind;
    int (IRZ450Device::*number)();
    bool (IRZ450Device::*flag)();
    int (IRZ450Device::*numberOf)(int);
    bool (IRZ450Device::*flagOf)(int);
    QString (IRZ450Device::*textOf)(int);
};

constexpr qint64 BAND_LIMIT = RZ450Layout::BAND_COUNT - 1;
constexpr qint64 INDEX_LIMIT = 255;

constexpr QUERY Ask(const char* text, int (IRZ450Device::*query)())
{
    return { { text, REQUEST_FORM::None, 0 }, Number, query, nullptr, nullptr, nullptr, nullptr };
}
constexpr QUERY Ask(const char* text, bool (IRZ450Device::*query)())
{
    return { { text, REQUEST_FORM::None, 0 }, Flag, nullptr, query, nullptr, nullptr, nullptr };
}
constexpr QUERY Ask(const char* text, int (IRZ450Device::*query)(int), qint64 limit)
{
    return { { text, REQUEST_FORM::Number, limit }, NumberOf, nullptr, nullptr, query, nullptr, nullptr };
}
constexpr QUERY Ask(const char* text, bool (IRZ450Device::*query)(int), qint64 limit)
{
    return { { text, REQUEST_FORM::Number, limit }, FlagOf, nullptr, nullptr, nullptr, query, nullptr };
}
constexpr QUERY Ask(const char* text, QString (IRZ450Device::*query)(int), qint64 limit)
{
    return { { text, REQUEST_FORM::Number, limit }, TextOf, nullptr, nullptr, nullptr, nullptr, query };
}

// In the order of IRZ450Device; Index() names each by position.
enum Index {
    GetLanguageID,
    IsSchedule,
    GetCurrentBank,
    IsWaiting,
    GetTmpX,
    GetLevelDbm,
    GetThreshold,
    GetDbmCorrScale,
    GetEventCntDelay,
    GetIndicateBand,
    IsIndicateBand,
    GetBandName,
    GetSpectrumData,
    IsAbodeLevel,
    IsShowFreq,
    GetFreqMax,
    GetLevelMax,
    GetLevelNoise,
    GetLevelDbMin,
    GetDemodMode,
    GetCntPeakFreq,
    GetOverload,
    GetMute,
    GetVolume,
    GetBypassPercent,
    GetAlarmFlags,
    GetLevels,
    GetThresholds,
    QUERY_COUNT
};

inline constexpr QUERY QUERIES[QUERY_COUNT] = {
    Ask("RZ450_GetLanguageID", &IRZ450Device::GetLanguageID),
    Ask("RZ450_IsSchedule", &IRZ450Device::IsSchedule),
    Ask("RZ450_GetCurrentBank", &IRZ450Device::GetCurrentBank),
    Ask("RZ450_IsWaiting", &IRZ450Device::IsWaiting),
    Ask("RZ450_GetTmpX", &IRZ450Device::GetTmpX),
    Ask("RZ450_GetLevelDbm:", &IRZ450Device::GetLevelDbm, BAND_LIMIT),
    Ask("RZ450_GetThreshold:", &IRZ450Device::GetThreshold, BAND_LIMIT),
    Ask("RZ450_GetDbmCorrScale:", &IRZ450Device::GetDbmCorrScale, BAND_LIMIT),
    Ask("RZ450_GetEventCntDelay:", &IRZ450Device::GetEventCntDelay, INDEX_LIMIT),
    Ask("RZ450_GetIndicateBand:", &IRZ450Device::GetIndicateBand, INDEX_LIMIT),
    Ask("RZ450_IsIndicateBand:", &IRZ450Device::IsIndicateBand, BAND_LIMIT),
    Ask("RZ450_GetBandName:", &IRZ450Device::GetBandName, BAND_LIMIT),
    // The length asked for; the answer is that many spectrum bytes.
    { { "RZ450_GetSpectrumData:", REQUEST_FORM::Number, RZ450Layout::SPECTRUM_POINTS }, Spectrum, nullptr, nullptr,
        nullptr, nullptr, nullptr },
    Ask("RZ450_IsAbodeLevel", &IRZ450Device::IsAbodeLevel),
    Ask("RZ450_IsShowFreq", &IRZ450Device::IsShowFreq),
    Ask("RZ450_GetFreqMax", &IRZ450Device::GetFreqMax),
    Ask("RZ450_GetLevelMax", &IRZ450Device::GetLevelMax),
    Ask("RZ450_GetLevelNoise", &IRZ450Device::GetLevelNoise),
    Ask("RZ450_GetLevelDbMin", &IRZ450Device::GetLevelDbMin),
    Ask("RZ450_GetDemodMode", &IRZ450Device::GetDemodMode),
    Ask("RZ450_GetCntPeakFreq", &IRZ450Device::GetCntPeakFreq),
    Ask("RZ450_GetOverload", &IRZ450Device::GetOverload),
    Ask("RZ450_GetMute", &IRZ450Device::GetMute),
    Ask("RZ450_GetVolume", &IRZ450Device::GetVolume),
    Ask("RZ450_GetBypassPercent", &IRZ450Device::GetBypassPercent),
    // The indication flags of bands 0 to INDICATED_BANDS - 1 as the bits of
    // a number, band 0 the lowest; the raw level and the raw threshold of
    // every band, BAND_COUNT bytes. A server without them answers empty,
    // and the asker goes band by band.
    { { "RZ450_GetAlarmFlags", REQUEST_FORM::None, 0 }, AlarmFlags, nullptr, nullptr, nullptr, nullptr, nullptr },
    { { "RZ450_GetLevels", REQUEST_FORM::None, 0 }, Levels, nullptr, nullptr, nullptr, nullptr, nullptr },
    { { "RZ450_GetThresholds", REQUEST_FORM::None, 0 }, Thresholds, nullptr, nullptr, nullptr, nullptr, nullptr },
};

// The device type the RZ450's GUI plug-in names, and so the name the server
// lists an RZ450 under.
constexpr char DEVICE_TYPE[] = "RZ450";

} // namespace RZ450Queries
