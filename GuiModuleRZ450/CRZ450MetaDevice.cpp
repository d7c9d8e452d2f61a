#include "CRZ450MetaDevice.h"

#include "IRZ450Device.h"
#include "RZ450Alarm.h"
#include "protocol/CAnswerParser.h"
#include "proxy/CMetaDevice.h"

#include <cstring>

namespace {

template <typename Result>
Result Convert(const QByteArray& answer);

template <>
int Convert<int>(const QByteArray& answer)
{
    return CAnswerParser::ToNumber(answer);
}

template <>
bool Convert<bool>(const QByteArray& answer)
{
    return CAnswerParser::ToFlag(answer);
}

template <>
QString Convert<QString>(const QByteArray& answer)
{
    return CAnswerParser::ToText(answer);
}

// The driver operation a query names, with and without its argument.
template <typename Result>
Result Invoke(IRZ450Device* device, const RZ450Queries::QUERY& query);
template <typename Result>
Result Invoke(IRZ450Device* device, const RZ450Queries::QUERY& query, int argument);

template <>
int Invoke<int>(IRZ450Device* device, const RZ450Queries::QUERY& query)
{
    return (device->*query.number)();
}

template <>
bool Invoke<bool>(IRZ450Device* device, const RZ450Queries::QUERY& query)
{
    return (device->*query.flag)();
}

template <>
int Invoke<int>(IRZ450Device* device, const RZ450Queries::QUERY& query, int argument)
{
    return (device->*query.numberOf)(argument);
}

template <>
bool Invoke<bool>(IRZ450Device* device, const RZ450Queries::QUERY& query, int argument)
{
    return (device->*query.flagOf)(argument);
}

template <>
QString Invoke<QString>(IRZ450Device* device, const RZ450Queries::QUERY& query, int argument)
{
    return (device->*query.textOf)(argument);
}

} // namespace

CRZ450MetaDevice::CRZ450MetaDevice(CMetaDevice* device)
    : m_pDevice(device)
{
}

bool CRZ450MetaDevice::IsLocal() const
{
    return m_pDevice && m_pDevice->GetLocalDevice();
}

// A local device of another model has none of these queries; it answers
// them all with nothing rather than be called through the wrong table.
IRZ450Device* CRZ450MetaDevice::Local() const
{
    return m_pDevice ? dynamic_cast<IRZ450Device*>(m_pDevice->GetLocalDevice()) : nullptr;
}

QByteArray CRZ450MetaDevice::Send(const QString& command)
{
    return m_pDevice ? m_pDevice->SendCommand(command) : QByteArray();
}

template <typename Result>
Result CRZ450MetaDevice::Ask(RZ450Queries::Index index)
{
    const RZ450Queries::QUERY& query = RZ450Queries::QUERIES[index];
    if (IsLocal()) {
        IRZ450Device* local = Local();
        return local ? Invoke<Result>(local, query) : Result();
    }
    return Convert<Result>(Send(QLatin1String(query.form.text)));
}

template <typename Result>
Result CRZ450MetaDevice::Ask(RZ450Queries::Index index, int argument)
{
    const RZ450Queries::QUERY& query = RZ450Queries::QUERIES[index];
    if (IsLocal()) {
        IRZ450Device* local = Local();
        return local ? Invoke<Result>(local, query, argument) : Result();
    }
    return Convert<Result>(Send(QLatin1String(query.form.text) + QString::number(argument)));
}

int CRZ450MetaDevice::GetLanguageID()
{
    return Ask<int>(RZ450Queries::GetLanguageID);
}

bool CRZ450MetaDevice::IsSchedule()
{
    return Ask<bool>(RZ450Queries::IsSchedule);
}

int CRZ450MetaDevice::GetCurrentBank()
{
    return Ask<int>(RZ450Queries::GetCurrentBank);
}

bool CRZ450MetaDevice::IsWaiting()
{
    return Ask<bool>(RZ450Queries::IsWaiting);
}

int CRZ450MetaDevice::GetTmpX()
{
    return Ask<int>(RZ450Queries::GetTmpX);
}

int CRZ450MetaDevice::GetLevelDbm(int band)
{
    return Ask<int>(RZ450Queries::GetLevelDbm, band);
}

int CRZ450MetaDevice::GetThreshold(int band)
{
    return Ask<int>(RZ450Queries::GetThreshold, band);
}

int CRZ450MetaDevice::GetDbmCorrScale(int band)
{
    return Ask<int>(RZ450Queries::GetDbmCorrScale, band);
}

int CRZ450MetaDevice::GetEventCntDelay(int i)
{
    return Ask<int>(RZ450Queries::GetEventCntDelay, i);
}

int CRZ450MetaDevice::GetIndicateBand(int i)
{
    return Ask<int>(RZ450Queries::GetIndicateBand, i);
}

bool CRZ450MetaDevice::IsIndicateBand(int band)
{
    return Ask<bool>(RZ450Queries::IsIndicateBand, band);
}

QString CRZ450MetaDevice::GetBandName(int band)
{
    return Ask<QString>(RZ450Queries::GetBandName, band);
}

bool CRZ450MetaDevice::GetSpectrumData(char* buffer, int length)
{
    if (IsLocal()) {
        // The driver always fills the buffer; its answer carries nothing.
        if (IRZ450Device* local = Local())
            local->GetSpectrumData(buffer, length);
        return true;
    }
    if (length < 0 || (length > 0 && !buffer))
        return false;
    const QByteArray answer
        = Send(QLatin1String(RZ450Queries::QUERIES[RZ450Queries::GetSpectrumData].form.text) + QString::number(length));
    if (answer.size() < length)
        return false;
    if (length > 0)
        std::memcpy(buffer, answer.constData(), size_t(length));
    return true;
}

int CRZ450MetaDevice::IsAbodeLevel()
{
    return Ask<int>(RZ450Queries::IsAbodeLevel);
}

int CRZ450MetaDevice::IsShowFreq()
{
    return Ask<int>(RZ450Queries::IsShowFreq);
}

int CRZ450MetaDevice::GetFreqMax()
{
    return Ask<int>(RZ450Queries::GetFreqMax);
}

int CRZ450MetaDevice::GetLevelMax()
{
    return Ask<int>(RZ450Queries::GetLevelMax);
}

int CRZ450MetaDevice::GetLevelNoise()
{
    return Ask<int>(RZ450Queries::GetLevelNoise);
}

int CRZ450MetaDevice::GetLevelDbMin()
{
    return Ask<int>(RZ450Queries::GetLevelDbMin);
}

int CRZ450MetaDevice::GetDemodMode()
{
    return Ask<int>(RZ450Queries::GetDemodMode);
}

int CRZ450MetaDevice::GetCntPeakFreq()
{
    return Ask<int>(RZ450Queries::GetCntPeakFreq);
}

int CRZ450MetaDevice::GetOverload()
{
    return Ask<int>(RZ450Queries::GetOverload);
}

int CRZ450MetaDevice::GetMute()
{
    return Ask<int>(RZ450Queries::GetMute);
}

int CRZ450MetaDevice::GetVolume()
{
    return Ask<int>(RZ450Queries::GetVolume);
}

int CRZ450MetaDevice::GetBypassPercent()
{
    return Ask<int>(RZ450Queries::GetBypassPercent);
}

quint32 CRZ450MetaDevice::GetAlarmFlags()
{
    if (IsLocal()) {
        IRZ450Device* local = Local();
        return local ? RZ450Alarm::Flags(*local) : 0;
    }
    bool ok = false;
    const quint32 flags = Send(QLatin1String(RZ450Queries::QUERIES[RZ450Queries::GetAlarmFlags].form.text)).toUInt(&ok);
    return ok ? flags : RZ450Alarm::Flags(*this);
}

QByteArray CRZ450MetaDevice::GetLevels()
{
    return AskBands(RZ450Queries::GetLevels, &CRZ450MetaDevice::GetLevelDbm);
}

QByteArray CRZ450MetaDevice::GetThresholds()
{
    return AskBands(RZ450Queries::GetThresholds, &CRZ450MetaDevice::GetThreshold);
}

QByteArray CRZ450MetaDevice::AskBands(RZ450Queries::Index index, int (CRZ450MetaDevice::*perBand)(int))
{
    if (IsLocal()) {
        IRZ450Device* local = Local();
        if (!local)
            return QByteArray(RZ450Layout::BAND_COUNT, '\0');
        return RZ450Alarm::Bands(*local,
            index == RZ450Queries::GetLevels ? &IRZ450Device::GetLevelDbm : &IRZ450Device::GetThreshold);
    }
    const QByteArray answer = Send(QLatin1String(RZ450Queries::QUERIES[index].form.text));
    return answer.size() == RZ450Layout::BAND_COUNT ? answer : RZ450Alarm::Bands(*this, perBand);
}
