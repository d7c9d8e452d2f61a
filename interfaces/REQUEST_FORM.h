#pragma once

#include <QtGlobal>

// The shape of one request of the server's text protocol. Requests carry no
// terminator, so the reader on the server side knows where one ends only
// from its shape: the command text, then the argument its kind describes.
struct REQUEST_FORM
{
    enum Argument {
        None,       // the command text alone
        Number,     // a decimal number, written without leading zeros
        NumberPair, // two decimal numbers separated by ':'
        Name,       // any bytes up to the end of the request
        Block       // exactly `limit` raw bytes
    };

    const char* text; // the command text, ':' included where an argument follows
    Argument argument;
    // Number, NumberPair (the last number): the largest value that means
    // something, so that a number which no further digit could keep
    // meaningful is known to be complete; -1 when there is no such bound.
    // Block: its size.
    qint64 limit;
};
