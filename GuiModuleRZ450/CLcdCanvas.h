#pragma once

#include <QByteArray>
#include <QImage>

class QString;

// The detector's 160 x 128 display as the detector draws it: text in 9 x 16
// glyph cells on eight rows, each glyph painting its whole cell, numbers of
// a fixed digit count, levels and level bars. Drawing goes into an image;
// whatever would fall outside the display is cut off.
class CLcdCanvas
{
public:
    enum { WIDTH = 160, HEIGHT = 128, CELL_WIDTH = 9, CELL_HEIGHT = 16, ROWS = HEIGHT / CELL_HEIGHT, BACKGROUND = 47 };

    CLcdCanvas();

    // The empty display in its background colour.
    void Clear();
    // Palette codes of LCD_PALETTE.
    void SetColors(int ink, int paper);
    void MoveTo(int x, int row);
    int CursorX() const { return m_nX; }

    // Each writes at the cursor and moves it on.
    void Write(const QByteArray& bytes);
    void Glyph(unsigned char code);
    void Blanks(int count);
    // The lowest digits of the value, zero-padded, never a sign.
    void Number(qint64 value, int digits);
    // A raw level byte as dBm (value - DBM_OFFSET): "+05", "-37", or "---" for
    // levels the detector marks as nothing measured.
    void SignedLevel(qint64 level);
    // One 3-pixel segment per 2 units above the scale base, blue up to the
    // threshold and red beyond; the rest of the row is cleared.
    void LevelBar(qint64 level, qint64 threshold, qint64 scale);

    const QImage& Image() const { return m_image; }

    // Text of this program (translated) in the display's 8-bit encoding;
    // a character the display cannot show becomes "?".
    static QByteArray Encode(const QString& text);

private:
    void Fill(int x, int y, int width, int height, QRgb colour);
    static int Segments(qint64 value, qint64 scale);

    QImage m_image;
    QRgb m_ink;
    QRgb m_paper;
    int m_nX = 0;
    int m_nY = 0;
};
