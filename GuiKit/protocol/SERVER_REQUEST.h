#pragma once

#include <QByteArray>
#include <QtGlobal>

// One request as the server's reader took it off the connection.
struct SERVER_REQUEST
{
    // Index of its form in the reader's list; -1 when it matched none.
    int form = -1;
    // False when the request was of a known form but its argument was not
    // whole or not right (a settings block of the wrong size): the server
    // answers it with its refusal.
    bool valid = false;
    qint64 first = 0;  // Number, NumberPair
    qint64 second = 0; // NumberPair
    QByteArray bytes;  // Name, Block
};
