#pragma once

#include "CRZ450Simulator.h"

#include <QByteArray>

// The host's side of the link encodings, written independently of the
// simulator so that a shared mistake cannot hide.
namespace SimWire {

inline QByteArray Encode(const QByteArray& bytes, CRZ450Simulator::Encoding encoding)
{
    if (encoding == CRZ450Simulator::ByteMode)
        return bytes;
    QByteArray link;
    for (char c : bytes) {
        link.append(char((quint8(c) >> 4) & 0x0F));
        link.append(char(c & 0x0F));
    }
    return link;
}

inline QByteArray Decode(const QByteArray& link, CRZ450Simulator::Encoding encoding)
{
    if (encoding == CRZ450Simulator::ByteMode)
        return link;
    QByteArray bytes;
    for (int i = 0; i + 1 < link.size(); i += 2)
        bytes.append(char(((link[i] & 0x0F) << 4) | (link[i + 1] & 0x0F)));
    return bytes;
}

inline int At(const QByteArray& data, int index)
{
    return quint8(data.at(index));
}

} // namespace SimWire
