#include "thresholdmultimanager.h"

#include "thresholdwindowwidget.h"

#include <algorithm>

namespace Utils {

ThresholdMultiManager::ThresholdMultiManager(int outputs, QObject *parent)
    : QObject(parent)
    , m_outputs(std::max(outputs, 0))
{
}

ThresholdMultiManager::~ThresholdMultiManager() = default;

void ThresholdMultiManager::setOutputs(int outputs)
{
    m_outputs = std::max(outputs, 0);
}

int ThresholdMultiManager::outputs() const
{
    return m_outputs;
}

void ThresholdMultiManager::addWidget(ThresholdWindowWidget *widget)
{
    if (!widget || widgets().contains(widget))
        return;
    m_widgets.append(widget);
    connect(widget, &ThresholdWindowWidget::emitValueChanged, this,
            [this, widget](unsigned int markIndex, double value) {
                emit valueChanged(widget->getComponentIndex(), markIndex, value);
            });
}

QList<ThresholdWindowWidget *> ThresholdMultiManager::widgets() const
{
    QList<ThresholdWindowWidget *> alive;
    for (const QPointer<ThresholdWindowWidget> &widget : m_widgets) {
        if (widget)
            alive.append(widget);
    }
    return alive;
}

void ThresholdMultiManager::setReadOnly(bool readOnly)
{
    for (ThresholdWindowWidget *widget : widgets())
        widget->setReadOnly(readOnly);
}

} // namespace Utils
