#pragma once

#include "utils_global.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <map>
#include <optional>
#include <tuple>

class QPainter;
class QTextLine;

namespace Utils {
namespace Charts {

// Single lines of text drawn once into an image of the plain background they land on, and copied
// from there each time they land on it again: blending glyphs costs many times what copying the
// blended pixels does, and an axis draws the same few labels on every replot.
//
// Copies only where the result is the very pixels the painter would draw itself: a raster painter
// on an image, moved by a translation alone, drawing with a plain pen where every pixel the text
// changes has one colour, with room around the text on every side.
class UTILS_EXPORT TextImageCache
{
public:
    // Draws `line` of a layout of `text` in the painter's font, its top left at `origin`, from a kept
    // image; false, with nothing drawn, where a copy would not be exact.
    bool draw(QPainter &painter, const QString &text, const QTextLine &line, const QPointF &origin);

private:
    // text, font, pen colour, background, image format, render hints, fraction of the origin
    using Key = std::tuple<QString, QFont, QRgb, QRgb, int, int, double, double>;

    struct Kept
    {
        QImage image;
        // The part of the image the text changed; none where it could not be drawn whole.
        std::optional<QRect> ink;
    };
    std::map<Key, Kept> m_images;
};

} // namespace Charts
} // namespace Utils
