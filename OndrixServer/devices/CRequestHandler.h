#pragma once

#include "REQUEST_FORM.h"
#include "connections/CLIENT_SESSION.h"
#include "devices/CAnswerCache.h"
#include "protocol/SERVER_REQUEST.h"

#include <QByteArray>
#include <QList>

class CAccessGate;
class CAnswerWriter;
class CDevicePool;
class IDevice;
class IRZ450Device;

// Answers one request of a connection from the device it selected. Every
// argument is checked before a driver sees it, and a request that would
// change the detector is refused, and logged, for a peer that may not. The
// large answers (the ring of live records, the log) come from a cache that
// every connection shares.
class CRequestHandler
{
public:
    // Without a gate every access key is refused.
    explicit CRequestHandler(CDevicePool* pool, CAccessGate* gate = nullptr);

    // The forms a reader needs: the generic requests in the protocol's
    // order, then the RZ450's queries.
    static QList<REQUEST_FORM> Forms();
    static bool IsRZ450Query(int form);

    // The framed answer.
    QByteArray Answer(const SERVER_REQUEST& request, CLIENT_SESSION& session);

private:
    bool AnswerSession(const SERVER_REQUEST& request, CLIENT_SESSION& session, CAnswerWriter& out);
    bool AnswerControl(const SERVER_REQUEST& request, int index, IDevice* device, CAnswerWriter& out);
    bool AnswerQuery(const SERVER_REQUEST& request, IDevice* device, CAnswerWriter& out);
    bool AnswerRZ450(const SERVER_REQUEST& request, IRZ450Device* device, CAnswerWriter& out);
    bool MayChange(const SERVER_REQUEST& request, const CLIENT_SESSION& session) const;
    QByteArray Shared(int form, int index, IDevice* device);

    CDevicePool* m_pPool;
    CAccessGate* m_pGate;
    CAnswerCache m_cache;
};
