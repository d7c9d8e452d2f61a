// Fuzz target: any bytes from a peer, cut into pieces at the places the
// input names, go through the server's request reader and handler. Every
// request must end in one framed answer, the reader must never hold more
// than its bound, and nothing may read outside the bytes. With the first
// byte's second bit the peer is on the encrypted port: until an "Auth:"
// with one of the keys below, every answer is the failed one, and the
// first wrong one is the last.
#include "CFakeDeviceBase.h"
#include "app/ServerLog.h"
#include "devices/CDevicePool.h"
#include "devices/CRequestHandler.h"
#include "protocol/CAnswerWriter.h"
#include "protocol/CRequestReader.h"
#include "protocol/ServerProtocol.h"
#include "security/CAccessGate.h"
#include "security/CPeerPolicy.h"

#include <cstdint>
#include <cstdlib>

namespace {

const int MAX_REQUEST = 256;
const QByteArray VIEW_KEY = QByteArrayLiteral("0123456789abcdef0123456789abcdef");
const QByteArray CONTROL_KEY = QByteArrayLiteral("fedcba9876543210fedcba9876543210");

void Check(bool promise)
{
    if (!promise)
        std::abort();
}

class CRecordingDevice : public CFakeDeviceBase
{
public:
    int GetCurrentRecordIndex() override { return 1234; }
    CRecord GetRecord(int index) override
    {
        Check(index >= 0 && index < 1234);
        CRecord record;
        record.values.append(RECORD_VALUE());
        return record;
    }
    unsigned char GetMenuValue(int index) override
    {
        Check(index >= 0 && index < MENU_SIZE);
        return 0;
    }
    bool GetSpectrumData(char* buffer, int length) override
    {
        Check(length >= 0 && length <= SPECTRUM_POINTS && (length == 0 || buffer));
        return true;
    }
};

void Answer(CRequestHandler& handler, CRequestReader& reader, CLIENT_SESSION& session)
{
    const bool locked = session.needsKey;
    const SERVER_REQUEST request = reader.Take();
    const QByteArray answer = handler.Answer(request, session);
    Check(answer.startsWith(ServerProtocol::FRAME_START) && answer.endsWith(ServerProtocol::FRAME_END));
    if (!locked)
        return;
    const bool keyed = request.valid && request.form == ServerProtocol::Auth
        && (request.bytes == VIEW_KEY || request.bytes == CONTROL_KEY);
    Check(session.needsKey == !keyed && session.refused == !keyed);
    Check(!keyed || session.mayControl == (request.bytes == CONTROL_KEY));
    Check(keyed || answer == CAnswerWriter::Empty() || answer == QByteArrayLiteral("<D>0</D>"));
}

// What a connection does with the bytes so far; `pause` stands for the
// peer going quiet, when provisional and half requests are taken as well.
void Drain(CRequestHandler& handler, CRequestReader& reader, CLIENT_SESSION& session, bool pause)
{
    for (;;) {
        const qsizetype before = reader.Buffered();
        const CRequestReader::State state = reader.Examine();
        if (state == CRequestReader::Empty || state == CRequestReader::Overlong)
            return;
        if ((state == CRequestReader::Partial || state == CRequestReader::Provisional) && !pause)
            return;
        Answer(handler, reader, session);
        Check(reader.Buffered() < before);
        if (session.refused)
            return; // the connection closes after this answer
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ServerLog::SetQuiet(true);
    CRecordingDevice device;
    CDevicePool pool({ &device });
    SERVER_SETTINGS settings;
    CPeerPolicy policy(settings);
    CAccessGate gate(&policy);
    gate.SetKeys(VIEW_KEY, CONTROL_KEY);
    CRequestHandler handler(&pool, &gate);
    CRequestReader reader(CRequestHandler::Forms(), MAX_REQUEST);
    reader.SetLimit(ServerProtocol::GetRecord, 1233);
    CLIENT_SESSION session;
    session.mayControl = size > 0 && (data[0] & 1);
    session.needsKey = size > 0 && (data[0] & 2);
    if (session.needsKey)
        session.mayControl = false;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const std::uint8_t cut = std::uint8_t(bytes[pos]);
        const qsizetype piece = qMin<qsizetype>(bytes.size() - pos, 1 + (cut & 0x3F));
        reader.Append(bytes.sliced(pos, piece));
        pos += piece;
        Drain(handler, reader, session, cut & 0x80);
        if (session.refused || reader.Examine() == CRequestReader::Overlong)
            return 0; // the connection is dropped here
        Check(reader.Buffered() <= MAX_REQUEST + 64);
    }
    Drain(handler, reader, session, true);
    return 0;
}
