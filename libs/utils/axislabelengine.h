#pragma once

#include "textimagecache.h"
#include "utils_global.h"

#include <qwt_text.h>
#include <qwt_text_engine.h>

#include <QFont>
#include <QHash>
#include <QPair>
#include <QSizeF>

#include <array>
#include <map>
#include <memory>
#include <tuple>

class QTextLayout;

namespace Utils {
namespace Charts {

// Plain text, measured and drawn as Qwt's plain engine does, with the measures of one font, the
// laid-out lines of single-line texts (by font) and their drawn pixels kept: the axes measure and
// draw the same few labels and titles on every replot.
class UTILS_EXPORT AxisLabelEngine final : public QwtTextEngine
{
public:
    // The text format of texts drawn by the engine; the engine is registered with Qwt at the
    // first call.
    static QwtText::TextFormat format();

    double heightForWidth(const QFont &font, int flags, const QString &text,
                          double width) const override;
    QSizeF textSize(const QFont &font, int flags, const QString &text) const override;
    void draw(QPainter *painter, const QRectF &rect, int flags, const QString &text) const override;
    bool mightRender(const QString &text) const override;
    void textMargins(const QFont &font, const QString &text, double &left, double &right,
                     double &top, double &bottom) const override;

private:
    // Drops what was kept for another font.
    void useFont(const QFont &font) const;

    // The text laid out once for the painter's font, as QPainter::drawText lays it out; null for
    // texts and flags that this shortcut does not cover.
    std::shared_ptr<const QTextLayout> laidOut(const QPainter &painter, int flags,
                                               const QString &text) const;

    QwtPlainTextEngine m_plain;
    mutable QFont m_font;
    mutable bool m_hasMargins = false;
    mutable std::array<double, 4> m_margins{};          // left, right, top, bottom
    mutable QHash<QPair<int, QString>, QSizeF> m_sizes; // by render flags and text
    // by layout direction, font and text
    mutable std::map<std::tuple<int, QFont, QString>, std::shared_ptr<const QTextLayout>> m_layouts;
    mutable TextImageCache m_images;
};

} // namespace Charts
} // namespace Utils
