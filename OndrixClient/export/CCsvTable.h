#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Rows of comma-separated fields as RFC 4180 lays them out, in UTF-8 bytes:
// a field that holds a comma, a double quote, a carriage return or a line
// feed is put in double quotes, with each double quote inside doubled; every
// row ends with CR LF. Numbers are written the same whatever the locale:
// integers in decimal, doubles with "." as the decimal point in the shortest
// form that reads back as the same double ("nan", "inf" and "-inf" for the
// values that have no number). Pure: bytes in memory, nothing else.
class CCsvTable
{
public:
    void AddField(QStringView text);
    // Bytes already in UTF-8, quoted as text is.
    void AddUtf8Field(QByteArrayView utf8);
    void AddField(qint64 number);
    void AddField(double number);
    void AddEmptyField();
    void EndRow();

    QByteArrayView Bytes() const { return { m_bytes.constData(), m_nUsed }; }
    qsizetype Size() const { return m_nUsed; }
    // Empty again, at the start of a row; the memory stays for what comes
    // next.
    void Clear();

    // One field as it appears in a row.
    static QByteArray Field(QStringView text);

private:
    // Room for size more bytes at the end; the caller says how many it used.
    char* Room(qsizetype size);
    char* Separate(qsizetype size);

    // Bytes past m_nUsed are only room.
    QByteArray m_bytes;
    qsizetype m_nUsed = 0;
    bool m_bRowStarted = false;
};
