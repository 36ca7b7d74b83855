#include "qtintpropertymanager.h"

#include "boundedvalue_p.h"

using QtPropertyBrowserInternal::announceChanges;
using QtPropertyBrowserInternal::BoundedValues;

class QtIntPropertyManager::Private
{
public:
    BoundedValues<int> values;
};

QtIntPropertyManager::QtIntPropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
    , d(std::make_unique<Private>())
{
}

QtIntPropertyManager::~QtIntPropertyManager()
{
    clear();
}

int QtIntPropertyManager::value(const QtProperty *property) const
{
    return d->values.get(property).value();
}

int QtIntPropertyManager::minimum(const QtProperty *property) const
{
    return d->values.get(property).minimum();
}

int QtIntPropertyManager::maximum(const QtProperty *property) const
{
    return d->values.get(property).maximum();
}

int QtIntPropertyManager::singleStep(const QtProperty *property) const
{
    return d->values.get(property).singleStep();
}

void QtIntPropertyManager::setValue(QtProperty *property, int value)
{
    announceChanges(this, property, d->values, d->values.setValue(property, value));
}

void QtIntPropertyManager::setMinimum(QtProperty *property, int minimum)
{
    setRange(property, minimum, qMax(minimum, maximum(property)));
}

void QtIntPropertyManager::setMaximum(QtProperty *property, int maximum)
{
    setRange(property, qMin(minimum(property), maximum), maximum);
}

void QtIntPropertyManager::setRange(QtProperty *property, int minimum, int maximum)
{
    announceChanges(this, property, d->values, d->values.setRange(property, minimum, maximum));
}

void QtIntPropertyManager::setSingleStep(QtProperty *property, int step)
{
    announceChanges(this, property, d->values, d->values.setSingleStep(property, step));
}

QString QtIntPropertyManager::valueText(const QtProperty *property) const
{
    return QString::number(value(property));
}

void QtIntPropertyManager::initializeProperty(QtProperty *property)
{
    d->values.add(property);
}

void QtIntPropertyManager::uninitializeProperty(QtProperty *property)
{
    d->values.remove(property);
}
