#include "buttonmanager.h"

namespace Utils {

ButtonManager::ButtonManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
{
}

ButtonManager::~ButtonManager()
{
    clear();
}

QString ButtonManager::value(const QtProperty *property) const
{
    return m_captions.value(property);
}

void ButtonManager::setValue(QtProperty *property, const QString &caption)
{
    const auto it = m_captions.find(property);
    if (it == m_captions.end() || it.value() == caption)
        return;
    it.value() = caption;
    emit propertyChanged(property);
    emit valueChanged(property, caption);
}

void ButtonManager::click(QtProperty *property)
{
    if (m_captions.contains(property))
        emit buttonClicked(property);
}

QString ButtonManager::valueText(const QtProperty *property) const
{
    return value(property);
}

void ButtonManager::initializeProperty(QtProperty *property)
{
    m_captions.insert(property, QString());
}

void ButtonManager::uninitializeProperty(QtProperty *property)
{
    m_captions.remove(property);
}

} // namespace Utils
