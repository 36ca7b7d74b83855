#include "axislabelengine.h"

namespace Utils {
namespace Charts {

namespace {

// A day of labels a second apart would be 86400 texts; the axis shows a dozen at a time.
constexpr int mostSizesKept = 256;

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

void AxisLabelEngine::draw(QPainter *painter, const QRectF &rect, int flags,
                           const QString &text) const
{
    m_plain.draw(painter, rect, flags, text);
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
