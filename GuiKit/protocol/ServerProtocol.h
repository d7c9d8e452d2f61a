#pragma once

#include "REQUEST_FORM.h"
#include "RZ450Layout.h"

// The server's text protocol as both ends speak it: the proxy builds its
// requests and reads its answers from here, and the server reads the
// requests and writes the answers from here.
//
// A connection starts with the server's unframed greeting. Each request is
// one command text, with its argument written directly after the colon,
// and no terminator; each answer is "<D>", the payload, "</D>". Payload
// fields are separated by ':'.
namespace ServerProtocol {

constexpr quint16 PORT = 7777;
// The encrypted port: TLS, then the same greeting and requests, the first
// of them "Auth:" with an access key.
constexpr quint16 TLS_PORT = 7778;
constexpr char GREETING[] = "ack";
constexpr char FRAME_START[] = "<D>";
constexpr char FRAME_END[] = "</D>";
constexpr char SEPARATOR = ':';

// The fewest fields the proxy accepts for one record: a record with one
// value has ten, so the server pads shorter ones.
constexpr int RECORD_MIN_FIELDS = 11;
constexpr int CURRENT_RECORD_MIN_FIELDS = 10;

constexpr qint64 UNBOUNDED = -1;
constexpr qint64 BYTE_LIMIT = 255;
constexpr qint64 MENU_INDEX_LIMIT = RZ450Layout::MENU_SIZE - 1;
constexpr qint64 REQUEST_LIMIT = 5; // the last IDevice::RequestType
// The most records one "GetRecords:" answer carries. A proxy asks for this
// many and takes what exists, so that its request is whole at once.
constexpr qint64 RECORD_BATCH = 1000;
constexpr int LIVE_STATE_FIELDS = 5;

// In the order of FORMS.
enum Request {
    GetServerDevicesList,
    SelectServerDevice,
    Uninitialize,
    GetDevID,
    IsOnline,
    IsError,
    KeyPressed,
    SetRequest,
    GetLogRecords,
    GetRealtimeRecords,
    Clear,
    GetCurrentMode,
    GetCurrentRecordIndex,
    GetRecord,
    GetCurrentRecord,
    GetCurrentBand,
    GetMenuValue,
    SetMenuValue,
    SetMenuData,
    GetMenuData,
    GetLogType,
    GetTime,
    SetTime,
    GetLogLoadProgress,
    IsRamOk,
    IsFlashOk,
    IsBatteryOk,
    GetRecords,
    GetLiveState,
    Auth,
    REQUEST_COUNT
};

inline constexpr REQUEST_FORM FORMS[REQUEST_COUNT] = {
    { "GetServerDevicesList", REQUEST_FORM::None, 0 },
    { "SelectServerDevice:", REQUEST_FORM::Name, 0 },
    { "Uninitialize", REQUEST_FORM::None, 0 },
    { "GetDevID", REQUEST_FORM::None, 0 },
    { "IsOnline", REQUEST_FORM::None, 0 },
    { "IsError", REQUEST_FORM::None, 0 },
    { "KeyPressed:", REQUEST_FORM::Number, BYTE_LIMIT },
    { "SetRequest:", REQUEST_FORM::Number, REQUEST_LIMIT },
    { "GetLogRecords", REQUEST_FORM::None, 0 },
    { "GetRealtimeRecords", REQUEST_FORM::None, 0 },
    { "Clear", REQUEST_FORM::None, 0 },
    { "GetCurrentMode", REQUEST_FORM::None, 0 },
    { "GetCurrentRecordIndex", REQUEST_FORM::None, 0 },
    // The record count bounds it; the server tells its reader as it goes.
    { "GetRecord:", REQUEST_FORM::Number, UNBOUNDED },
    { "GetCurrentRecord", REQUEST_FORM::None, 0 },
    { "GetCurrentBand", REQUEST_FORM::None, 0 },
    { "GetMenuValue:", REQUEST_FORM::Number, MENU_INDEX_LIMIT },
    { "SetMenuValue:", REQUEST_FORM::NumberPair, BYTE_LIMIT },
    { "SetMenuData:", REQUEST_FORM::Block, RZ450Layout::MENU_SIZE },
    { "GetMenuData", REQUEST_FORM::None, 0 },
    { "GetLogType", REQUEST_FORM::None, 0 },
    { "GetTime", REQUEST_FORM::None, 0 },
    { "SetTime:", REQUEST_FORM::Number, UNBOUNDED },
    { "GetLogLoadProgress", REQUEST_FORM::None, 0 },
    { "IsRamOk", REQUEST_FORM::None, 0 },
    { "IsFlashOk", REQUEST_FORM::None, 0 },
    { "IsBatteryOk", REQUEST_FORM::None, 0 },
    // Live records from a first index on, in the record list form: a client
    // following the detector asks once per poll instead of once per record.
    // A server that lacks it answers "GetRecords:0:0" with something other
    // than "0", and the proxy falls back to one "GetRecord:" at a time.
    { "GetRecords:", REQUEST_FORM::NumberPair, RECORD_BATCH },
    // What a client polling the detector asks every tick, in one exchange:
    // online, error, mode, record count and current band (LIVE_STATE_FIELDS
    // numbers). A server that lacks it gives an empty answer, and the proxy
    // asks for each of them on its own.
    { "GetLiveState", REQUEST_FORM::None, 0 },
    // An access key, the first request on the encrypted port: "1" for a key
    // the server knows (it decides what the connection may do), else "0"
    // and the connection closed.
    { "Auth:", REQUEST_FORM::Name, 0 },
};

constexpr const char* Text(Request request)
{
    return FORMS[request].text;
}

} // namespace ServerProtocol
