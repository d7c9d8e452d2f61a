#pragma once

#include "GuiKitExport.h"

#include <QFont>
#include <QHash>
#include <QString>

#include <memory>

class QPainter;
class QRect;
class QTextLayout;

// Labels drawn centred in a rectangle with the painter's pen and font, with
// the pixels of QPainter::drawText(rect, Qt::AlignCenter, text). Shaping a
// text costs a few times what drawing its glyphs does, and a diagram draws
// the same labels at every paint, so each text is laid out once per font
// and kept; at MAX_TEXTS texts the cache starts afresh.
class GUIKIT_EXPORT CLabelCache
{
public:
    static constexpr int MAX_TEXTS = 256;

    void DrawCentred(QPainter& painter, const QRect& rect, const QString& text);
    int Size() const { return int(m_texts.size()); }

private:
    struct KEY
    {
        QString text;
        QFont font;
        int dpi = 0;

        bool operator==(const KEY& other) const { return dpi == other.dpi && text == other.text && font == other.font; }
    };
    friend size_t qHash(const KEY& key, size_t seed) { return qHashMulti(seed, key.text, key.font, key.dpi); }

    struct LAID_TEXT
    {
        std::shared_ptr<QTextLayout> layout;
        qreal advance = 0.0;
        qreal width = 0.0;
        qreal height = 0.0;
    };

    // Texts drawText would break into lines or lay out another way.
    static bool NeedsDrawText(const QPainter& painter, const QString& text);
    static LAID_TEXT Lay(const KEY& key);

    QHash<KEY, LAID_TEXT> m_texts;
};
