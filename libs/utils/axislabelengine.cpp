#include "axislabelengine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>

#include <algorithm>

namespace Utils {
namespace Charts {

namespace {

// A day of labels a second apart would be 86400 texts; the axis shows a dozen at a time.
constexpr int mostSizesKept = 256;

// Alignment and clipping only place a single line; wrapping, mnemonics, tabs, justification and
// direction change how it is laid out.
constexpr int placingFlags = Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignAbsolute
                             | Qt::AlignVertical_Mask | Qt::TextSingleLine | Qt::TextDontClip;

bool laysOutAsOneLine(const QString &text)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')
               || c == QLatin1Char('&') || c == QChar(ushort(0x9c)) || c == QChar::LineSeparator;
    });
}

// Qwt draws the text with a font of its own pixel size on a device of another resolution.
bool drawsInItsOwnFont(const QPainter &painter)
{
    if (painter.font().pixelSize() >= 0)
        return true;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QPaintDevice *device = painter.device();
    return screen && device && device->logicalDpiX() == qRound(screen->logicalDotsPerInchX())
           && device->logicalDpiY() == qRound(screen->logicalDotsPerInchY());
}

} // namespace

// Qwt keeps the engine until the program ends.
QwtText::TextFormat AxisLabelEngine::format()
{
    static const QwtText::TextFormat registered = [] {
        const auto id = QwtText::TextFormat(QwtText::OtherFormat + 1);
        QwtText::setTextEngine(id, new AxisLabelEngine);
        return id;
    }();
    return registered;
}

double AxisLabelEngine::heightForWidth(const QFont &font, int flags, const QString &text,
                                       double width) const
{
    return m_plain.heightForWidth(font, flags, text, width);
}

QSizeF AxisLabelEngine::textSize(const QFont &font, int flags, const QString &text) const
{
    useFont(font);
    const QPair<int, QString> key(flags, text);
    auto kept = m_sizes.constFind(key);
    if (kept == m_sizes.constEnd()) {
        if (m_sizes.size() >= mostSizesKept)
            m_sizes.clear();
        kept = m_sizes.insert(key, m_plain.textSize(font, flags, text));
    }
    return *kept;
}

// Placed as QPainter::drawText places a single line; laying it out is what a label costs most.
void AxisLabelEngine::draw(QPainter *painter, const QRectF &rect, int flags,
                           const QString &text) const
{
    const std::shared_ptr<const QTextLayout> layout = laidOut(*painter, flags, text);
    if (!layout) {
        m_plain.draw(painter, rect, flags, text);
        return;
    }
    const QTextLine line = layout->lineAt(0);
    const double width = line.naturalTextWidth();
    const double height = line.ascent() + line.descent();
    double top = rect.y();
    if (flags & Qt::AlignBottom)
        top += rect.height() - height;
    else if (flags & Qt::AlignVCenter)
        top += (rect.height() - height) / 2;
    double boundsLeft = rect.x();
    double left = rect.x();
    if (flags & Qt::AlignRight) {
        boundsLeft += rect.width() - width;
        left += rect.width() - line.horizontalAdvance();
    } else if (flags & Qt::AlignHCenter) {
        boundsLeft += (rect.width() - width) / 2;
        left += (rect.width() - line.horizontalAdvance()) / 2;
    }
    const bool clip
        = !(flags & Qt::TextDontClip) && !rect.contains(QRectF(boundsLeft, top, width, height));
    if (clip) {
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
    }
    if (!m_images.draw(*painter, text, line, QPointF(left, top)))
        line.draw(painter, QPointF(left, top));
    if (clip)
        painter->restore();
}

std::shared_ptr<const QTextLayout> AxisLabelEngine::laidOut(const QPainter &painter, int flags,
                                                            const QString &text) const
{
    const QFont &font = painter.font();
    const Qt::LayoutDirection direction = painter.layoutDirection();
    if ((flags & ~placingFlags) || direction == Qt::RightToLeft || font.underline()
        || font.overline() || font.strikeOut() || !laysOutAsOneLine(text)
        || !drawsInItsOwnFont(painter) || painter.pen().style() == Qt::NoPen)
        return nullptr;
    const auto key = std::make_tuple(int(direction), font, text);
    const auto kept = m_layouts.find(key);
    if (kept != m_layouts.end())
        return kept->second;
    if (m_layouts.size() >= mostSizesKept)
        m_layouts.clear();
    auto layout = std::make_shared<QTextLayout>(text, font);
    QTextOption option;
    option.setTextDirection(direction);
    option.setAlignment(Qt::AlignLeft);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0.0, 0.0));
    layout->endLayout();
    return m_layouts.emplace(key, std::move(layout)).first->second;
}

// Qwt offers every text of unknown format to each engine it knows; this one takes only the texts
// that name it.
bool AxisLabelEngine::mightRender(const QString &) const
{
    return false;
}

// The plain engine's margins come from the font alone; it finds them through a text key of the
// font that it builds on every call.
void AxisLabelEngine::textMargins(const QFont &font, const QString &text, double &left,
                                  double &right, double &top, double &bottom) const
{
    useFont(font);
    if (!m_hasMargins) {
        m_plain.textMargins(font, text, m_margins[0], m_margins[1], m_margins[2], m_margins[3]);
        m_hasMargins = true;
    }
    left = m_margins[0];
    right = m_margins[1];
    top = m_margins[2];
    bottom = m_margins[3];
}

void AxisLabelEngine::useFont(const QFont &font) const
{
    if (font == m_font)
        return;
    m_font = font;
    m_hasMargins = false;
    m_sizes.clear();
}

} // namespace Charts
} // namespace Utils
