#include "app/CErrorText.h"

#include <QCoreApplication>

namespace {

// Listed for the translation tools: these arrive as exception texts.
const char* const KNOWN_TEXTS[] = {
    QT_TRANSLATE_NOOP("CMetaDevice", "Network error!"),
    QT_TRANSLATE_NOOP("CMetaDevice", "Network timed out!"),
    QT_TRANSLATE_NOOP("CMetaDevice", "Network transmission error!"),
    QT_TRANSLATE_NOOP("CMetaDevice", "GetRecord: wrong answer format!"),
    QT_TRANSLATE_NOOP("CMetaDevice", "GetCurrentRecord: wrong answer format!"),
};

} // namespace

QString CErrorText::FromException(const std::exception& error)
{
    for (const char* known : KNOWN_TEXTS) {
        if (qstrcmp(known, error.what()) == 0)
            return QCoreApplication::translate("CMetaDevice", known);
    }
    return QString::fromLocal8Bit(error.what());
}
