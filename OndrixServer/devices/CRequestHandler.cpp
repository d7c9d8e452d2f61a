#include "devices/CRequestHandler.h"

#include "CRZ450Clock.h"
#include "IDevice.h"
#include "IRZ450Device.h"
#include "RZ450Alarm.h"
#include "RZ450Layout.h"
#include "RZ450Queries.h"
#include "app/ServerLog.h"
#include "devices/CDevicePool.h"
#include "protocol/CAnswerWriter.h"
#include "protocol/ServerProtocol.h"
#include "security/CAccessGate.h"

#include <QDateTime>

namespace SP = ServerProtocol;

namespace {

const int RZ450_FIRST = SP::REQUEST_COUNT;

bool InRange(qint64 value, qint64 last)
{
    return value >= 0 && value <= last;
}

QString Described(const SERVER_REQUEST& request)
{
    QString text = QLatin1String(SP::Text(SP::Request(request.form)));
    if (SP::FORMS[request.form].argument == REQUEST_FORM::Number)
        text += QString::number(request.first);
    else if (SP::FORMS[request.form].argument == REQUEST_FORM::NumberPair)
        text += QString::number(request.first) + SP::SEPARATOR + QString::number(request.second);
    return text;
}

// The records asked for that exist, at most one batch of them. From the
// count on they are the ring's round before, which a reader that fell behind
// a wrap still has to read.
QList<CRecord> Batch(IDevice* device, qint64 first, qint64 count)
{
    const qint64 written = device->GetCurrentRecordIndex();
    const qint64 stop = first < written ? written : RZ450Layout::RECORD_RING;
    const qint64 end = std::min<qint64>(stop, first + std::min(count, SP::RECORD_BATCH));
    QList<CRecord> records;
    for (qint64 i = std::max<qint64>(first, 0); i < end; ++i)
        records.append(device->GetRecord(int(i)));
    return records;
}

// The error flag is always clear, as for "IsError": the server recovers
// from a fault on its own.
LIVE_STATE LiveState(IDevice* device)
{
    LIVE_STATE state;
    state.online = device->IsOnline();
    state.mode = device->GetCurrentMode();
    state.count = device->GetCurrentRecordIndex();
    state.band = device->GetCurrentBand();
    return state;
}

} // namespace

CRequestHandler::CRequestHandler(CDevicePool* pool, CAccessGate* gate)
    : m_pPool(pool)
    , m_pGate(gate)
{
}

QList<REQUEST_FORM> CRequestHandler::Forms()
{
    QList<REQUEST_FORM> forms(std::begin(SP::FORMS), std::end(SP::FORMS));
    for (const RZ450Queries::QUERY& query : RZ450Queries::QUERIES)
        forms.append(query.form);
    return forms;
}

bool CRequestHandler::IsRZ450Query(int form)
{
    return form >= RZ450_FIRST && form < RZ450_FIRST + RZ450Queries::QUERY_COUNT;
}

QByteArray CRequestHandler::Answer(const SERVER_REQUEST& request, CLIENT_SESSION& session)
{
    CAnswerWriter out;
    if (session.needsKey && !(request.valid && request.form == SP::Auth)) {
        ServerLog::Peer(session.address, session.port, QStringLiteral("refused: a request before its access key"));
        session.refused = true;
        return out.Frame();
    }
    IDevice* device = m_pPool->Device(session.device);
    if (device && request.valid && (request.form == SP::GetRealtimeRecords || request.form == SP::GetLogRecords))
        return Shared(request.form, session.device, device);
    bool answered = AnswerSession(request, session, out);
    if (!answered && device && request.valid) {
        if (IsRZ450Query(request.form))
            answered = AnswerRZ450(request, dynamic_cast<IRZ450Device*>(device), out);
        else if (MayChange(request, session))
            answered = AnswerControl(request, session.device, device, out) || AnswerQuery(request, device, out);
        else {
            out.Number(0);
            answered = true;
        }
    }
    // A settings block that never came whole is refused with the false
    // answer the proxy reads; any other failed request gets an empty answer.
    if (!answered && request.form == SP::SetMenuData)
        out.Number(0);
    return out.Frame();
}

bool CRequestHandler::AnswerSession(const SERVER_REQUEST& request, CLIENT_SESSION& session, CAnswerWriter& out)
{
    switch (request.valid ? request.form : -1) {
    case SP::GetServerDevicesList: out.Fields(m_pPool->Names()); return true;
    case SP::SelectServerDevice: {
        const int index = m_pPool->Find(QString::fromLatin1(request.bytes));
        if (index >= 0)
            session.device = index;
        out.Number(index >= 0);
        return true;
    }
    case SP::Auth:
        if (m_pGate)
            out.Number(m_pGate->Admit(request.bytes, session));
        else {
            ServerLog::Peer(session.address, session.port,
                QStringLiteral("refused: an access key, and this server has none"));
            session.refused = true;
            out.Number(0);
        }
        return true;
    case SP::Uninitialize:
        // The detector stays up for the others; only this client lets go.
        session.initialized = false;
        out.Number(1);
        return true;
    default: return false;
    }
}

// Requests that change the detector pass here only for a peer that may.
bool CRequestHandler::MayChange(const SERVER_REQUEST& request, const CLIENT_SESSION& session) const
{
    switch (request.form) {
    case SP::KeyPressed:
    case SP::SetRequest:
    case SP::Clear:
    case SP::SetMenuValue:
    case SP::SetMenuData:
    case SP::SetTime: break;
    default: return true;
    }
    const QString what = request.form == SP::SetMenuData ? QStringLiteral("SetMenuData") : Described(request);
    if (!session.mayControl) {
        ServerLog::Peer(session.address, session.port, QStringLiteral("refused (read-only): ") + what);
        return false;
    }
    ServerLog::Peer(session.address, session.port, QStringLiteral("control: ") + what);
    return true;
}

// The ring's content is told by its count, the first record's time (new
// after Clear) and the mode; the log's by how far its reading came.
QByteArray CRequestHandler::Shared(int form, int index, IDevice* device)
{
    if (form == SP::GetRealtimeRecords) {
        const int count = device->GetCurrentRecordIndex();
        const CAnswerCache::STAMP stamp { count, count > 0 ? qint64(device->GetRecord(0).time) : 0,
            device->GetCurrentMode() };
        return m_cache.Answer({ index, form }, stamp, [device] {
            CAnswerWriter out;
            out.RecordList(device->GetRealtimeRecords());
            return out.Frame();
        });
    }
    const CAnswerCache::STAMP stamp { 0, device->GetLogLoadProgress(), device->GetLogType() };
    return m_cache.Answer({ index, form }, stamp, [device] {
        CAnswerWriter out;
        out.LogList(device->GetLogRecords());
        return out.Frame();
    });
}

bool CRequestHandler::AnswerControl(const SERVER_REQUEST& request, int index, IDevice* device, CAnswerWriter& out)
{
    bool done = true;
    switch (request.form) {
    case SP::KeyPressed:
        done = InRange(request.first, SP::BYTE_LIMIT);
        if (done)
            device->KeyPressed(IDevice::KeyType(request.first));
        break;
    case SP::SetRequest:
        done = InRange(request.first, SP::REQUEST_LIMIT);
        if (done) {
            device->SetRequest(IDevice::RequestType(request.first));
            m_cache.Forget(index);
        }
        break;
    case SP::Clear:
        device->Clear();
        m_cache.Forget(index);
        break;
    case SP::SetMenuValue:
        done = InRange(request.first, SP::MENU_INDEX_LIMIT) && InRange(request.second, SP::BYTE_LIMIT);
        if (done)
            device->SetMenuValue(int(request.first), static_cast<unsigned char>(request.second));
        break;
    case SP::SetMenuData: done = device->SetMenuData(request.bytes); break;
    case SP::SetTime:
        // The detector keeps no year: another time would read back wrong.
        done = CRZ450Clock::Holds(request.first);
        if (done)
            device->SetTime(QDateTime::fromSecsSinceEpoch(request.first));
        break;
    default: return false;
    }
    out.Number(done);
    return true;
}

bool CRequestHandler::AnswerQuery(const SERVER_REQUEST& request, IDevice* device, CAnswerWriter& out)
{
    switch (request.form) {
    case SP::GetDevID: out.Text(device->GetDevID()); break;
    // A fault is the server's to recover from; clients see the detector
    // offline meanwhile, rather than each restart it on its own.
    case SP::IsOnline: out.Number(device->IsOnline()); break;
    case SP::IsError: out.Number(0); break;
    case SP::GetCurrentMode: out.Number(device->GetCurrentMode()); break;
    case SP::GetCurrentRecordIndex: out.Number(device->GetCurrentRecordIndex()); break;
    case SP::GetRecord: {
        const bool exists = InRange(request.first, qint64(device->GetCurrentRecordIndex()) - 1);
        out.Record(exists ? device->GetRecord(int(request.first)) : CRecord(), SP::RECORD_MIN_FIELDS);
        break;
    }
    case SP::GetRecords: out.RecordList(Batch(device, request.first, request.second)); break;
    case SP::GetCurrentRecord: out.Record(device->GetCurrentRecord(), SP::CURRENT_RECORD_MIN_FIELDS); break;
    case SP::GetCurrentBand: out.Number(device->GetCurrentBand()); break;
    case SP::GetLiveState: out.LiveState(LiveState(device)); break;
    case SP::GetMenuValue:
        out.Number(InRange(request.first, SP::MENU_INDEX_LIMIT) ? device->GetMenuValue(int(request.first)) : 0);
        break;
    case SP::GetMenuData: out.Bytes(device->GetMenuData()); break;
    case SP::GetLogType: out.Number(device->GetLogType()); break;
    case SP::GetTime: {
        const QDateTime time = device->GetTime();
        out.Number(time.isValid() ? std::max<qint64>(0, time.toSecsSinceEpoch()) : 0);
        break;
    }
    case SP::GetLogLoadProgress: out.Number(device->GetLogLoadProgress()); break;
    case SP::IsRamOk: out.Number(device->IsRamOk()); break;
    case SP::IsFlashOk: out.Number(device->IsFlashOk()); break;
    case SP::IsBatteryOk: out.Number(device->IsBatteryOk()); break;
    default: return false;
    }
    return true;
}

bool CRequestHandler::AnswerRZ450(const SERVER_REQUEST& request, IRZ450Device* device, CAnswerWriter& out)
{
    if (!device)
        return false;
    const RZ450Queries::QUERY& query = RZ450Queries::QUERIES[request.form - RZ450_FIRST];
    const bool hasArgument = query.form.argument == REQUEST_FORM::Number;
    if (hasArgument && !InRange(request.first, query.form.limit))
        return false;
    const int argument = int(request.first);
    switch (query.kind) {
    case RZ450Queries::Number: out.Number((device->*query.number)()); break;
    case RZ450Queries::Flag: out.Number((device->*query.flag)()); break;
    case RZ450Queries::NumberOf: out.Number((device->*query.numberOf)(argument)); break;
    case RZ450Queries::FlagOf: out.Number((device->*query.flagOf)(argument)); break;
    case RZ450Queries::TextOf: out.Text((device->*query.textOf)(argument)); break;
    case RZ450Queries::Spectrum: {
        QByteArray points(argument, '\0');
        device->GetSpectrumData(points.data(), argument);
        out.Bytes(points);
        break;
    }
    case RZ450Queries::AlarmFlags: out.Number(RZ450Alarm::Flags(*device)); break;
    case RZ450Queries::Levels: out.Bytes(RZ450Alarm::Bands(*device, &IRZ450Device::GetLevelDbm)); break;
    case RZ450Queries::Thresholds: out.Bytes(RZ450Alarm::Bands(*device, &IRZ450Device::GetThreshold)); break;
    }
    return true;
}
