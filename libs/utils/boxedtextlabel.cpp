#include "boxedtextlabel.h"

#include <qwt_painter.h>

#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace Utils {
namespace Charts {

namespace {

QPixmap transparentPixmap(const QSize &size, qreal pixelRatio)
{
    QPixmap pixmap(size);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Recording and scalable devices get the text itself, as Qwt gives it to them.
bool drawsFromPixmap(QPainter *painter)
{
    if (!QwtPainter::roundingAlignment(painter))
        return false;
    const QPaintEngine::Type type = painter->paintEngine()->type();
    return type != QPaintEngine::Picture && type != QPaintEngine::User;
}

} // namespace

// Box and characters are painted one after the other into the same pixmap, as QwtText paints
// them, so the label's pixels stay the plain label's.
void BoxedTextLabel::draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                          const QRectF &canvasRect) const
{
    const QwtText &label = text();
    if (!drawsFromPixmap(painter)) {
        QwtPlotTextLabel::draw(painter, xMap, yMap, canvasRect);
        return;
    }
    const int m = margin();
    const QRectF rect
        = textRect(canvasRect.adjusted(m, m, -m, -m), label.textSize(painter->font()));
    const int pw
        = label.borderPen().style() != Qt::NoPen ? std::max(label.borderPen().width(), 1) : 0;
    QRect pixmapRect;
    pixmapRect.setLeft(int(std::floor(rect.left())) - pw);
    pixmapRect.setTop(int(std::floor(rect.top())) - pw);
    pixmapRect.setRight(int(std::ceil(rect.right())) + pw);
    pixmapRect.setBottom(int(std::ceil(rect.bottom())) + pw);
    const qreal pixelRatio = painter->device()->devicePixelRatio();
    const QSize scaledSize = pixmapRect.size() * pixelRatio;
    if (m_shown.size() == scaledSize && m_shownText == label) {
        painter->drawPixmap(pixmapRect, m_shown);
        return;
    }

    const QRect inner(pw, pw, pixmapRect.width() - 2 * pw, pixmapRect.height() - 2 * pw);
    QwtText style = label;
    style.setText(QString());
    if (m_box.size() != scaledSize || !(style == m_boxStyle)) {
        m_box = transparentPixmap(scaledSize, pixelRatio);
        QPainter boxPainter(&m_box);
        boxPainter.setFont(painter->font());
        style.draw(&boxPainter, inner);
        m_boxStyle = style;
    }
    m_shown = m_box;
    QwtText characters = label;
    characters.setPaintAttribute(QwtText::PaintBackground, false);
    QPainter textPainter(&m_shown);
    textPainter.setFont(painter->font());
    characters.draw(&textPainter, inner);
    textPainter.end();
    m_shownText = label;
    painter->drawPixmap(pixmapRect, m_shown);
}

} // namespace Charts
} // namespace Utils
