#pragma once

#include "GuiKitExport.h"
#include "REQUEST_FORM.h"
#include "protocol/SERVER_REQUEST.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Finds the requests in the bytes a connection delivers. Requests carry no
// terminator, so where one ends follows from its form alone, and a request
// that could still grow (a number that more digits would keep meaningful,
// a command text that begins a longer one, a name) is only provisional: the
// caller takes it once the peer has paused. Bytes are examined, never
// executed: nothing here talks to a device.
class GUIKIT_EXPORT CRequestReader
{
public:
    enum State {
        Empty,       // nothing buffered
        Partial,     // the start of a request: wait for the rest
        Provisional, // a whole request that more bytes could still extend
        Complete,    // a whole request; take it now
        Unknown,     // no request starts like this
        Malformed,   // a known request with a wrong argument; take it now
        Overlong     // more bytes than any request may have
    };

    CRequestReader(const QList<REQUEST_FORM>& forms, int maxBytes);

    void Append(QByteArrayView bytes);
    // What the buffer starts with.
    State Examine();
    // After Complete or Provisional: that request, its bytes consumed.
    // Otherwise the whole buffer, taken as a failed request of the one form
    // it began (valid false), or of none.
    SERVER_REQUEST Take();
    // A bound that changes as the server runs (how many records exist).
    void SetLimit(int form, qint64 limit);
    qsizetype Buffered() const { return m_buffer.size(); }

private:
    enum Fit { NoFit, Short, Open, Closed, Refused };
    struct MATCH
    {
        Fit fit = NoFit;
        qsizetype length = 0;
        qint64 first = 0;
        qint64 second = 0;
    };

    MATCH Match(const REQUEST_FORM& form, qsizetype length) const;
    MATCH MatchArgument(const REQUEST_FORM& form, QByteArrayView rest) const;
    SERVER_REQUEST TakeBest();
    SERVER_REQUEST TakeAll();

    QList<REQUEST_FORM> m_forms;
    QList<qsizetype> m_textLengths;
    int m_nMaxBytes;
    QByteArray m_buffer;
    State m_eState = Empty;
    int m_nBest = -1; // the form of the longest whole request found
    MATCH m_best;
    int m_nStarted = -1; // the one form the buffer begins, if only one
};
