#include "textimagecache.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTextLine>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Utils {
namespace Charts {

namespace {

// A handful of labels and titles per axis; a day of time labels would be 86400.
constexpr std::size_t mostImagesKept = 256;

// The device image a raster painter draws into, when its pixels can be read and copied as they are.
QImage *rasterTarget(QPainter &painter)
{
    QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    auto *image = static_cast<QImage *>(engine->paintDevice());
    const bool plainPixels = image->format() == QImage::Format_RGB32
                             || image->format() == QImage::Format_ARGB32_Premultiplied;
    return plainPixels && image->devicePixelRatio() == 1.0 ? image : nullptr;
}

// The one colour of `area` in `image`, if it has one.
bool plainBackground(const QImage &image, const QRect &area, QRgb *colour)
{
    const auto row = [&](int y) {
        return reinterpret_cast<const QRgb *>(image.constScanLine(y)) + area.left();
    };
    const QRgb *first = row(area.top());
    if (!std::all_of(first, first + area.width(), [first](QRgb pixel) { return pixel == *first; }))
        return false;
    const std::size_t bytes = std::size_t(area.width()) * sizeof(QRgb);
    for (int y = area.top() + 1; y <= area.bottom(); ++y) {
        if (std::memcmp(row(y), first, bytes) != 0)
            return false;
    }
    *colour = *first;
    return true;
}

// The pixels a text drawn on `background` changed, with one more around them for the faintest
// edge of a glyph; none where the glyphs reach the image's edge and may have been cut.
std::optional<QRect> inkOf(const QImage &image, QRgb background)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    if (ink.isEmpty())
        return ink;
    ink.adjust(-1, -1, 1, 1);
    if (!image.rect().adjusted(1, 1, -1, -1).contains(ink))
        return std::nullopt;
    return ink;
}

} // namespace

bool TextImageCache::draw(QPainter &painter, const QString &text, const QTextLine &line,
                          const QPointF &origin)
{
    QImage *target = rasterTarget(painter);
    const QTransform device = painter.deviceTransform();
    const QPen &pen = painter.pen();
    if (!target || device.type() > QTransform::TxTranslate
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || painter.opacity() != 1.0 || pen.brush().style() != Qt::SolidPattern
        || pen.brush().transform().type() != QTransform::TxNone)
        return false;

    // Glyphs reach a little beyond the line's box, slanted ones the most.
    const QPointF at = device.map(origin);
    const int margin = int(std::ceil(line.height() / 4.0)) + 1;
    const QPoint corner(int(std::floor(at.x())) - margin, int(std::floor(at.y())) - margin);
    const QRect area(corner, QSize(int(std::ceil(line.horizontalAdvance())) + 2 * margin + 1,
                                   int(std::ceil(line.height())) + 2 * margin + 1));
    // The pixel amid the line names the background; only the pixels the text changes must have
    // it, so ticks and neighbours within the margin do not matter.
    const QPoint middle = area.center();
    if (!target->rect().contains(middle))
        return false;
    const QRgb background
        = reinterpret_cast<const QRgb *>(target->constScanLine(middle.y()))[middle.x()];

    const QPointF within = at - corner;
    const Key key(text, painter.font(), pen.color().rgba(), background, int(target->format()),
                  int(painter.renderHints()), within.x(), within.y());
    auto kept = m_images.find(key);
    if (kept == m_images.end()) {
        if (m_images.size() >= mostImagesKept)
            m_images.clear();
        QImage image(area.size(), target->format());
        image.fill(uint(background));
        QPainter inside(&image);
        inside.setRenderHints(painter.renderHints());
        inside.setPen(pen);
        inside.setFont(painter.font());
        line.draw(&inside, within);
        inside.end();
        const std::optional<QRect> ink = inkOf(image, background);
        // Opaque pixels either way; an image without alpha is copied, not blended.
        kept = m_images.emplace(key, Kept{image.convertToFormat(QImage::Format_RGB32), ink}).first;
    }
    if (!kept->second.ink)
        return false;
    const QRect ink = *kept->second.ink;
    if (ink.isEmpty())
        return true; // a text without ink, such as a space, changes no pixel
    const QRect changed = ink.translated(corner);
    QRgb under = background;
    if (!target->rect().contains(changed) || !plainBackground(*target, changed, &under)
        || under != background)
        return false;

    // In device pixels, so the copy lands on whole pixels whatever the painter's own offset.
    painter.save();
    painter.resetTransform();
    const QTransform base = painter.deviceTransform();
    painter.drawImage(QPoint(changed.x() - int(base.dx()), changed.y() - int(base.dy())),
                      kept->second.image, ink);
    painter.restore();
    return true;
}

} // namespace Charts
} // namespace Utils
