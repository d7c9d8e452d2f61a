#pragma once

#include "GuiKitExport.h"

#include <QImage>
#include <QPicture>
#include <QSize>
#include <QString>

class QPainter;
class QWidget;

// Pictures of a widget-based diagram (a CQDiagramWidget, the spectrum
// window with its waterfall, any QWidget) as PNG or SVG files, as an image
// or as a vector picture for documents, at the size the widget has on
// screen or at a chosen size.
//
// At a chosen size a widget inside a window is laid out at that size for
// the drawing and gets its own size back afterwards, so that a larger
// picture shows more of the diagram rather than bigger pixels. A window,
// whose size is the desktop's to keep, is drawn as it is laid out and
// scaled to the size.
//
// What only follows the mouse (crosshair, cursor values, hover fills) is no
// part of a picture, and a picture's engine may lack what the screen's has
// (SVG draws the whole of an image asked for a part of it): a widget leaves
// out or works around such things while IsExporting() says so of it or of
// a widget it lies in.
class GUIKIT_EXPORT CDiagramExport
{
public:
    enum Format { Png, Svg };

    // An empty or invalid size stands for the size on screen; so does a
    // size beyond MAX_SIDE on either side.
    static constexpr int MAX_SIDE = 16384;

    static QImage ToImage(QWidget* widget, const QSize& size = QSize());
    static QPicture ToPicture(QWidget* widget, const QSize& size = QSize());
    // Written to a temporary file and renamed over path: on failure nothing
    // is left at path (an older file stays as it was) and error says why.
    // A size beyond MAX_SIDE fails here, as does the size on screen of a
    // widget that has none.
    static bool Save(QWidget* widget, const QString& path, Format format, const QSize& size, QString& error);
    // Svg for a name ending in ".svg" (any case), otherwise Png.
    static Format FormatOf(const QString& path);
    static QString Suffix(Format format);
    // The size a picture at size gets.
    static QSize PictureSize(const QWidget* widget, const QSize& size);

    static bool IsExporting(const QWidget* widget);

private:
    static void Paint(QWidget* widget, QPainter& painter, const QSize& size);
};
