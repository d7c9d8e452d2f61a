#include "export/CCsvTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool NeedsQuotes(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

} // namespace

char* CCsvTable::Room(qsizetype size)
{
    if (m_nUsed + size > m_bytes.size())
        m_bytes.resize(std::max<qsizetype>(2 * m_bytes.size(), m_nUsed + size + 4096));
    return m_bytes.data() + m_nUsed;
}

// Room for the separator and size bytes after it, past the separator.
char* CCsvTable::Separate(qsizetype size)
{
    char* at = Room(size + 1);
    if (m_bRowStarted) {
        *at++ = ',';
        ++m_nUsed;
    }
    m_bRowStarted = true;
    return at;
}

void CCsvTable::AddField(QStringView text)
{
    AddUtf8Field(text.toUtf8());
}

void CCsvTable::AddUtf8Field(QByteArrayView utf8)
{
    if (!NeedsQuotes(utf8)) {
        char* at = Separate(utf8.size());
        if (!utf8.isEmpty())
            std::memcpy(at, utf8.data(), utf8.size());
        m_nUsed += utf8.size();
        return;
    }
    char* const start = Separate(2 * utf8.size() + 2);
    char* at = start;
    *at++ = '"';
    for (const char c : utf8) {
        if (c == '"')
            *at++ = '"';
        *at++ = c;
    }
    *at++ = '"';
    m_nUsed += at - start;
}

void CCsvTable::AddField(qint64 number)
{
    char* at = Separate(24);
    m_nUsed += std::to_chars(at, at + 24, number).ptr - at;
}

void CCsvTable::AddField(double number)
{
    char* at = Separate(32);
    if (std::isnan(number)) {
        // One spelling whatever sign or payload the value carries.
        std::memcpy(at, "nan", 3); // NOLINT(bugprone-not-null-terminated-result): a field, not a C string
        m_nUsed += 3;
        return;
    }
    // The shortest text that reads back as the same double, always with
    // "." and never with the locale's separators.
    m_nUsed += std::to_chars(at, at + 32, number).ptr - at;
}

void CCsvTable::AddEmptyField()
{
    Separate(0);
}

void CCsvTable::EndRow()
{
    std::memcpy(Room(2), "\r\n", 2);
    m_nUsed += 2;
    m_bRowStarted = false;
}

void CCsvTable::Clear()
{
    m_nUsed = 0;
    m_bRowStarted = false;
}

QByteArray CCsvTable::Field(QStringView text)
{
    CCsvTable table;
    table.AddField(text);
    return table.Bytes().toByteArray();
}
