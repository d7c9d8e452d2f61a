#include "CRZ450MetaDevice.h"

#include "CAnswerParser.h"
#include "CMetaDevice.h"
#include "IRZ450Device.h"

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

template <typename Result, typename Query>
Result CRZ450MetaDevice::Ask(Query query, const char* command)
{
    if (IsLocal()) {
        IRZ450Device* local = Local();
        return local ? (local->*query)() : Result();
    }
    return Convert<Result>(Send(QLatin1String(command)));
}

template <typename Result, typename Query>
Result CRZ450MetaDevice::Ask(Query query, const char* command, int argument)
{
    if (IsLocal()) {
        IRZ450Device* local = Local();
        return local ? (local->*query)(argument) : Result();
    }
    return Convert<Result>(Send(QLatin1String(command) + QLatin1Char(':') + QString::number(argument)));
}

int CRZ450MetaDevice::GetLanguageID()
{
    return Ask<int>(&IRZ450Device::GetLanguageID, "RZ450_GetLanguageID");
}

bool CRZ450MetaDevice::IsSchedule()
{
    return Ask<bool>(&IRZ450Device::IsSchedule, "RZ450_IsSchedule");
}

int CRZ450MetaDevice::GetCurrentBank()
{
    return Ask<int>(&IRZ450Device::GetCurrentBank, "RZ450_GetCurrentBank");
}

bool CRZ450MetaDevice::IsWaiting()
{
    return Ask<bool>(&IRZ450Device::IsWaiting, "RZ450_IsWaiting");
}

int CRZ450MetaDevice::GetTmpX()
{
    return Ask<int>(&IRZ450Device::GetTmpX, "RZ450_GetTmpX");
}

int CRZ450MetaDevice::GetLevelDbm(int band)
{
    return Ask<int>(&IRZ450Device::GetLevelDbm, "RZ450_GetLevelDbm", band);
}

int CRZ450MetaDevice::GetThreshold(int band)
{
    return Ask<int>(&IRZ450Device::GetThreshold, "RZ450_GetThreshold", band);
}

int CRZ450MetaDevice::GetDbmCorrScale(int band)
{
    return Ask<int>(&IRZ450Device::GetDbmCorrScale, "RZ450_GetDbmCorrScale", band);
}

int CRZ450MetaDevice::GetEventCntDelay(int i)
{
    return Ask<int>(&IRZ450Device::GetEventCntDelay, "RZ450_GetEventCntDelay", i);
}

int CRZ450MetaDevice::GetIndicateBand(int i)
{
    return Ask<int>(&IRZ450Device::GetIndicateBand, "RZ450_GetIndicateBand", i);
}

bool CRZ450MetaDevice::IsIndicateBand(int band)
{
    return Ask<bool>(&IRZ450Device::IsIndicateBand, "RZ450_IsIndicateBand", band);
}

QString CRZ450MetaDevice::GetBandName(int band)
{
    return Ask<QString>(&IRZ450Device::GetBandName, "RZ450_GetBandName", band);
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
    const QByteArray answer = Send(QStringLiteral("RZ450_GetSpectrumData:") + QString::number(length));
    if (answer.size() < length)
        return false;
    if (length > 0)
        std::memcpy(buffer, answer.constData(), size_t(length));
    return true;
}

int CRZ450MetaDevice::IsAbodeLevel()
{
    return Ask<int>(&IRZ450Device::IsAbodeLevel, "RZ450_IsAbodeLevel");
}

int CRZ450MetaDevice::IsShowFreq()
{
    return Ask<int>(&IRZ450Device::IsShowFreq, "RZ450_IsShowFreq");
}

int CRZ450MetaDevice::GetFreqMax()
{
    return Ask<int>(&IRZ450Device::GetFreqMax, "RZ450_GetFreqMax");
}

int CRZ450MetaDevice::GetLevelMax()
{
    return Ask<int>(&IRZ450Device::GetLevelMax, "RZ450_GetLevelMax");
}

int CRZ450MetaDevice::GetLevelNoise()
{
    return Ask<int>(&IRZ450Device::GetLevelNoise, "RZ450_GetLevelNoise");
}

int CRZ450MetaDevice::GetLevelDbMin()
{
    return Ask<int>(&IRZ450Device::GetLevelDbMin, "RZ450_GetLevelDbMin");
}

int CRZ450MetaDevice::GetDemodMode()
{
    return Ask<int>(&IRZ450Device::GetDemodMode, "RZ450_GetDemodMode");
}

int CRZ450MetaDevice::GetCntPeakFreq()
{
    return Ask<int>(&IRZ450Device::GetCntPeakFreq, "RZ450_GetCntPeakFreq");
}

int CRZ450MetaDevice::GetOverload()
{
    return Ask<int>(&IRZ450Device::GetOverload, "RZ450_GetOverload");
}

int CRZ450MetaDevice::GetMute()
{
    return Ask<int>(&IRZ450Device::GetMute, "RZ450_GetMute");
}

int CRZ450MetaDevice::GetVolume()
{
    return Ask<int>(&IRZ450Device::GetVolume, "RZ450_GetVolume");
}

int CRZ450MetaDevice::GetBypassPercent()
{
    return Ask<int>(&IRZ450Device::GetBypassPercent, "RZ450_GetBypassPercent");
}
