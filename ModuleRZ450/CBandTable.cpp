#include "CBandTable.h"

#include <QList>

namespace {

// One band a line, in the detector's order.
// clang-format off
const char* const ENGLISH_NAMES[CBandTable::BAND_COUNT] = {
    "CDMA450 mobile   /",
    "GSM 900 mobile   /",
    "GSM 1800 mobile  /",
    "DECT mobile      /",
    "3G-2100 mobile   /",
    "3G-900 mobile    /",
    "3G-2100 SMS      /",
    "WLAN mobile 2.4  /",
    "WLAN mobile 5    /",
    "BLUETOOTH        /",
    "Traffic 2.4      /",
    "Traffic 5        /",
    "4G-2600 mobile   /",
    "4G-800 mobile    /",
    "reserved         /",
    "reserved         /",
    "Jammers GSM     /",
    "Jammers GPS     /",
    "SCAN /            ",
    "CDMA 450 base    /",
    "GSM 900 base     /",
    "GSM 1800 base    /",
    "DECT base        /",
    "3G-2100 base     /",
    "3G-900 base      /",
    "3G3 (UMTS) base  /",
    "WLAN AP 2.4      /",
    "4G-2600 base     /",
    "4G-800 base      /",
    "reserved         /",
    "reserved         /"
};

// Windows-1251 bytes.
const char* const RUSSIAN_NAMES[CBandTable::BAND_COUNT] = {
    "CDMA450 \xf2\xf0\xf3\xe1\xea\xe0   /", // CDMA450 трубка   /
    "GSM 900 \xf2\xf0\xf3\xe1\xea\xe0   /", // GSM 900 трубка   /
    "GSM 1800 \xf2\xf0\xf3\xe1\xea\xe0  /", // GSM 1800 трубка  /
    "DECT \xf2\xf0\xf3\xe1\xea\xe0      /", // DECT трубка      /
    "3G-2100 \xf2\xf0\xf3\xe1\xea\xe0   /", // 3G-2100 трубка   /
    "3G-900 \xf2\xf0\xf3\xe1\xea\xe0    /", // 3G-900 трубка    /
    "3G-2100 SMS      /", // 3G-2100 SMS      /
    "WLAN \xec\xee\xe4\xf3\xeb\xfc 2.4  /", // WLAN модуль 2.4  /
    "WLAN \xec\xee\xe4\xf3\xeb\xfc 5    /", // WLAN модуль 5    /
    "BLUETOOTH        /", // BLUETOOTH        /
    "\xd2\xf0\xe0\xf4\xe8\xea 2.4       /", // Трафик 2.4       /
    "\xd2\xf0\xe0\xf4\xe8\xea 5         /", // Трафик 5         /
    "4G-2600 \xec\xee\xe4\xf3\xeb\xfc   /", // 4G-2600 модуль   /
    "4G-800 \xec\xee\xe4\xf3\xeb\xfc    /", // 4G-800 модуль    /
    "reserved         /", // reserved         /
    "reserved         /", // reserved         /
    "\xc1\xeb\xee\xea\xe8\xf0\xe0\xf2\xee\xf0\xfb GSM  /", // Блокираторы GSM  /
    "\xc1\xeb\xee\xea\xe8\xf0\xe0\xf2\xee\xf0\xfb GPS  /", // Блокираторы GPS  /
    "\xd1\xea\xe0\xed /            ", // Скан /
    "CDMA 450 \xe1\xe0\xe7\xe0    /", // CDMA 450 база    /
    "GSM 900 \xe1\xe0\xe7\xe0     /", // GSM 900 база     /
    "GSM 1800 \xe1\xe0\xe7\xe0    /", // GSM 1800 база    /
    "DECT \xe1\xe0\xe7\xe0        /", // DECT база        /
    "3G-2100 \xe1\xe0\xe7\xe0     /", // 3G-2100 база     /
    "3G-900 \xe1\xe0\xe7\xe0      /", // 3G-900 база      /
    "3G3 (UMTS) \xe1\xe0\xe7\xe0  /", // 3G3 (UMTS) база  /
    "WL \xf2\xee\xf7\xea.\xe4\xee\xf1\xf2. 2.4/", // WL точк.дост. 2.4/
    "4G-2600 \xe1\xe0\xe7\xe0     /", // 4G-2600 база     /
    "4G-800 \xe1\xe0\xe7\xe0      /", // 4G-800 база      /
    "reserved         /", // reserved         /
    "reserved         /", // reserved         /
};

const int CORRECTIONS[CBandTable::BAND_COUNT] = {
    20, 10, 10, 10, 10, 10, 22, 20, 20, 16, 0, 0, 28, 28, 28, 28, 10, 10, 18, 0, 10, 10, 10, 9, 9, 9, 10, 6, 6, 6, 6
};
// clang-format on

} // namespace

QString CBandTable::EnglishName(int band)
{
    // Built once: every live record carries its band's name, so the copies
    // must share one string instead of converting each time.
    static const QList<QString> names = [] {
        QList<QString> list;
        for (const char* name : ENGLISH_NAMES)
            list.append(QString::fromLatin1(name));
        return list;
    }();
    return IsValid(band) ? names.at(band) : QString();
}

QString CBandTable::RussianName(int band)
{
    static const QList<QString> names = [] {
        QList<QString> list;
        for (const char* name : RUSSIAN_NAMES)
            list.append(QString::fromLatin1(name));
        return list;
    }();
    return IsValid(band) ? names.at(band) : QString();
}

int CBandTable::Correction(int band)
{
    return IsValid(band) ? CORRECTIONS[band] : 0;
}
