#include "connectionstatus.h"

#include <QEvent>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace Utils {

namespace {

constexpr int margin = 4;
constexpr int spacing = 6;

} // namespace

ConnectionStatus::ConnectionStatus(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("connectionStatus"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(text());
}

ConnectionStatus::~ConnectionStatus() = default;

void ConnectionStatus::setConnected(bool connected)
{
    if (connected == m_connected)
        return;
    m_connected = connected;
    setToolTip(text());
    update();
}

bool ConnectionStatus::isConnected() const
{
    return m_connected;
}

QString ConnectionStatus::text() const
{
    return m_connected ? tr("Connected") : tr("Disconnected");
}

// Wide enough for either text, so the status bar does not jump on a change.
QSize ConnectionStatus::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int textWidth = std::max(metrics.horizontalAdvance(tr("Connected")),
                                   metrics.horizontalAdvance(tr("Disconnected")));
    const int lamp = metrics.height();
    return QSize(2 * margin + lamp + spacing + textWidth, lamp + 2 * margin);
}

void ConnectionStatus::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const int lamp = fontMetrics().height() - 2;
    const QRectF lampRect(margin, (height() - lamp) / 2.0, lamp, lamp);
    const QColor base = m_connected ? QColor(39, 174, 96) : QColor(192, 57, 43);
    QRadialGradient gradient(lampRect.center() - QPointF(lamp / 5.0, lamp / 5.0), lamp * 0.7);
    gradient.setColorAt(0.0, base.lighter(170));
    gradient.setColorAt(1.0, base);
    painter.setPen(QPen(base.darker(150), 1.0));
    painter.setBrush(gradient);
    painter.drawEllipse(lampRect);

    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect textRect(int(lampRect.right()) + spacing, 0,
                         width() - int(lampRect.right()) - spacing, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

void ConnectionStatus::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange) {
        setToolTip(text());
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace Utils
