#include "CLcdCanvas.h"

#include "LcdFont.h"
#include "LcdPalette.h"
#include "LcdTexts.h"
#include "RZ450Layout.h"

#include <QString>

#include <algorithm>

namespace {

const int BAR_TOP = 2;
const int BAR_HEIGHT = 10;
const int SEGMENT_WIDTH = 3;
const int MAX_SEGMENTS = 32;
const int BLUE = 99;
const int RED = 97;
const int LEVEL_ZERO = RZ450Layout::DBM_OFFSET;
const int LOWEST_LEVEL = 3;

} // namespace

CLcdCanvas::CLcdCanvas()
    : m_image(WIDTH, HEIGHT, QImage::Format_RGB32)
    , m_ink(LcdColor(100))
    , m_paper(LcdColor(BACKGROUND))
{
    Clear();
}

void CLcdCanvas::Clear()
{
    m_image.fill(LcdColor(BACKGROUND));
}

void CLcdCanvas::SetColors(int ink, int paper)
{
    m_ink = LcdColor(ink);
    m_paper = LcdColor(paper);
}

void CLcdCanvas::MoveTo(int x, int row)
{
    m_nX = x;
    m_nY = row * CELL_HEIGHT;
}

void CLcdCanvas::Write(const QByteArray& bytes)
{
    for (char byte : bytes)
        Glyph(static_cast<unsigned char>(byte));
}

void CLcdCanvas::Glyph(unsigned char code)
{
    const unsigned char* glyph = LCD_FONT[code];
    for (int row = 0; row < CELL_HEIGHT; ++row) {
        const int y = m_nY + row;
        if (y < 0 || y >= HEIGHT)
            continue;
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const int bits = glyph[2 * row] | (glyph[2 * row + 1] << 8);
        for (int column = 0; column < CELL_WIDTH; ++column) {
            const int x = m_nX + column;
            if (x >= 0 && x < WIDTH)
                line[x] = (bits >> column) & 1 ? m_ink : m_paper;
        }
    }
    m_nX += CELL_WIDTH;
}

void CLcdCanvas::Blanks(int count)
{
    for (int i = 0; i < count; ++i)
        Glyph(' ');
}

void CLcdCanvas::Number(qint64 value, int digits)
{
    QByteArray text(digits, '0');
    quint64 rest = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = char('0' + rest % 10);
        rest /= 10;
    }
    Write(text);
}

void CLcdCanvas::SignedLevel(qint64 level)
{
    if (level > LEVEL_ZERO - 1) {
        Glyph('+');
        Number(level - LEVEL_ZERO, 2);
    } else if (level >= LOWEST_LEVEL) {
        Glyph('-');
        Number(LEVEL_ZERO - level, 2);
    } else {
        Write(LCD_TEXTS[LCD_NO_VALUE]);
    }
}

int CLcdCanvas::Segments(qint64 value, qint64 scale)
{
    return int(std::min<qint64>(std::max<qint64>(value - scale, 0) / 2 + 1, MAX_SEGMENTS));
}

void CLcdCanvas::LevelBar(qint64 level, qint64 threshold, qint64 scale)
{
    const int levelSegments = Segments(level, scale);
    const int blueSegments = std::min(levelSegments, Segments(threshold, scale));
    const int y = m_nY + BAR_TOP;
    for (int i = 0; i < levelSegments; ++i) {
        Fill(m_nX, y, SEGMENT_WIDTH - 1, BAR_HEIGHT, LcdColor(i < blueSegments ? BLUE : RED));
        Fill(m_nX + SEGMENT_WIDTH - 1, y, 1, BAR_HEIGHT, m_paper);
        m_nX += SEGMENT_WIDTH;
    }
    Fill(m_nX, y, WIDTH - m_nX, BAR_HEIGHT, m_paper);
    m_nX = std::max(m_nX, int(WIDTH));
}

void CLcdCanvas::Fill(int x, int y, int width, int height, QRgb colour)
{
    const int left = std::max(x, 0);
    const int right = std::min(x + width, int(WIDTH));
    for (int row = std::max(y, 0); row < std::min(y + height, int(HEIGHT)); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(row));
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

QByteArray CLcdCanvas::Encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const char16_t unicode = ch.unicode();
        if (unicode < 0x80)
            bytes += char(unicode);
        else if (unicode >= 0x0410 && unicode <= 0x044F)
            bytes += char(0xC0 + (unicode - 0x0410));
        else if (unicode == 0x0401)
            bytes += char(0xA8);
        else if (unicode == 0x0451)
            bytes += char(0xB8);
        else
            bytes += '?';
    }
    return bytes;
}
