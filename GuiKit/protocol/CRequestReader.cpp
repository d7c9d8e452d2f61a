#include "protocol/CRequestReader.h"

#include "protocol/ServerProtocol.h"

#include <cstring>

namespace {

// More digits than this no 64-bit count needs.
const int MAX_DIGITS = 18;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct NUMBER
{
    enum Fit { Missing, Bad, Open, Closed } fit = Missing;
    qsizetype end = 0;
    qint64 value = 0;
};

// A number that begins at `pos`. Open: it reaches the end of the bytes and
// one more digit would still be meaningful; Closed: nothing more can belong
// to it, because another byte follows, or its first digit is 0 (numbers
// are written without leading zeros), or one more digit would pass `limit`.
NUMBER ReadNumber(QByteArrayView bytes, qsizetype pos, qint64 limit)
{
    NUMBER number;
    const bool negative = pos < bytes.size() && bytes[pos] == '-';
    qsizetype i = negative ? pos + 1 : pos;
    const qsizetype first = i;
    for (; i < bytes.size() && IsDigit(bytes[i]) && i - first < MAX_DIGITS; ++i)
        number.value = number.value * 10 + (bytes[i] - '0');
    number.end = i;
    if (i == first) {
        number.fit = i == bytes.size() ? NUMBER::Missing : NUMBER::Bad;
        return number;
    }
    if (negative)
        number.value = -number.value;
    if (i < bytes.size()) {
        number.fit = IsDigit(bytes[i]) ? NUMBER::Bad : NUMBER::Closed;
        return number;
    }
    const bool full = bytes[first] == '0' || i - first == MAX_DIGITS || (limit >= 0 && negative)
        || (limit >= 0 && number.value > limit / 10);
    number.fit = full ? NUMBER::Closed : NUMBER::Open;
    return number;
}

} // namespace

CRequestReader::CRequestReader(const QList<REQUEST_FORM>& forms, int maxBytes)
    : m_forms(forms)
    , m_nMaxBytes(maxBytes)
{
    for (const REQUEST_FORM& form : m_forms)
        m_textLengths.append(qsizetype(std::strlen(form.text)));
}

void CRequestReader::Append(QByteArrayView bytes)
{
    m_buffer.append(bytes);
}

void CRequestReader::SetLimit(int form, qint64 limit)
{
    if (form >= 0 && form < m_forms.size())
        m_forms[form].limit = limit;
}

CRequestReader::State CRequestReader::Examine()
{
    m_nBest = -1;
    m_best = MATCH();
    m_nStarted = -1;
    if (m_buffer.isEmpty())
        return m_eState = Empty;
    int started = 0;
    int refused = -1;
    const char head = m_buffer.at(0);
    for (int i = 0; i < m_forms.size(); ++i) {
        if (m_forms.at(i).text[0] != head)
            continue;
        const MATCH match = Match(m_forms.at(i), m_textLengths.at(i));
        if (match.fit == Short) {
            ++started;
            m_nStarted = i;
        } else if (match.fit == Refused) {
            refused = i;
        } else if ((match.fit == Open || match.fit == Closed) && match.length > m_best.length) {
            m_best = match;
            m_nBest = i;
        }
    }
    if (started != 1)
        m_nStarted = -1;
    if (m_nBest >= 0 && m_best.fit == Closed && started == 0)
        return m_eState = Complete;
    if (m_buffer.size() > m_nMaxBytes)
        return m_eState = Overlong;
    if (m_nBest >= 0)
        return m_eState = Provisional;
    if (refused >= 0) {
        m_nStarted = refused;
        return m_eState = Malformed;
    }
    return m_eState = started > 0 ? Partial : Unknown;
}

SERVER_REQUEST CRequestReader::Take()
{
    if ((m_eState == Complete || m_eState == Provisional) && m_nBest >= 0)
        return TakeBest();
    return TakeAll();
}

CRequestReader::MATCH CRequestReader::Match(const REQUEST_FORM& form, qsizetype length) const
{
    const QByteArrayView text(form.text, length);
    MATCH match;
    if (m_buffer.size() < length) {
        if (text.startsWith(m_buffer))
            match.fit = Short;
        return match;
    }
    if (!QByteArrayView(m_buffer).startsWith(text))
        return match;
    match = MatchArgument(form, QByteArrayView(m_buffer).sliced(length));
    match.length += length;
    return match;
}

CRequestReader::MATCH CRequestReader::MatchArgument(const REQUEST_FORM& form, QByteArrayView rest) const
{
    MATCH match;
    switch (form.argument) {
    case REQUEST_FORM::None: match.fit = Closed; return match;
    case REQUEST_FORM::Name:
        // A name runs to the end of what came; only a pause ends it.
        match.fit = Open;
        match.length = rest.size();
        return match;
    case REQUEST_FORM::Block:
        match.fit = rest.size() < form.limit ? Short : rest.size() == form.limit ? Closed : Refused;
        match.length = form.limit;
        return match;
    case REQUEST_FORM::Number:
    case REQUEST_FORM::NumberPair: break;
    }
    NUMBER number = ReadNumber(rest, 0, form.argument == REQUEST_FORM::Number ? form.limit : ServerProtocol::UNBOUNDED);
    if (form.argument == REQUEST_FORM::NumberPair && number.fit != NUMBER::Missing && number.fit != NUMBER::Bad) {
        match.first = number.value;
        if (number.end == rest.size()) {
            match.fit = Short;
            return match;
        }
        if (rest[number.end] != ServerProtocol::SEPARATOR)
            return match;
        number = ReadNumber(rest, number.end + 1, form.limit);
        match.second = number.value;
    } else {
        match.first = number.value;
    }
    match.length = number.end;
    static const Fit FITS[] = { Short, NoFit, Open, Closed };
    match.fit = FITS[number.fit];
    return match;
}

SERVER_REQUEST CRequestReader::TakeBest()
{
    const REQUEST_FORM& form = m_forms.at(m_nBest);
    SERVER_REQUEST request;
    request.form = m_nBest;
    request.valid = true;
    request.first = m_best.first;
    request.second = m_best.second;
    const qsizetype head = m_textLengths.at(m_nBest);
    if (form.argument == REQUEST_FORM::Name || form.argument == REQUEST_FORM::Block)
        request.bytes = m_buffer.mid(head, m_best.length - head);
    m_buffer.remove(0, m_best.length);
    m_eState = Empty;
    return request;
}

SERVER_REQUEST CRequestReader::TakeAll()
{
    SERVER_REQUEST request;
    request.form = m_nStarted;
    m_buffer.clear();
    m_eState = Empty;
    return request;
}
