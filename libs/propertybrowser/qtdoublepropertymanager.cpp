#include "qtdoublepropertymanager.h"

#include "boundedvalue_p.h"

#include <QHash>
#include <QLocale>

using QtPropertyBrowserInternal::announceChanges;
using QtPropertyBrowserInternal::BoundedValues;

class QtDoublePropertyManager::Private
{
public:
    BoundedValues<double> values;
    QHash<const QtProperty *, int> decimals;
};

namespace {
constexpr int defaultDecimals = 2;
// As many places as a QDoubleSpinBox can show.
constexpr int maximumDecimals = 13;
} // namespace

QtDoublePropertyManager::QtDoublePropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
    , d(std::make_unique<Private>())
{
}

QtDoublePropertyManager::~QtDoublePropertyManager()
{
    clear();
}

double QtDoublePropertyManager::value(const QtProperty *property) const
{
    return d->values.get(property).value();
}

double QtDoublePropertyManager::minimum(const QtProperty *property) const
{
    return d->values.get(property).minimum();
}

double QtDoublePropertyManager::maximum(const QtProperty *property) const
{
    return d->values.get(property).maximum();
}

double QtDoublePropertyManager::singleStep(const QtProperty *property) const
{
    return d->values.get(property).singleStep();
}

void QtDoublePropertyManager::setValue(QtProperty *property, double value)
{
    announceChanges(this, property, d->values, d->values.setValue(property, value));
}

int QtDoublePropertyManager::decimals(const QtProperty *property) const
{
    return d->decimals.value(property, defaultDecimals);
}

void QtDoublePropertyManager::setMinimum(QtProperty *property, double minimum)
{
    setRange(property, minimum, qMax(minimum, maximum(property)));
}

void QtDoublePropertyManager::setMaximum(QtProperty *property, double maximum)
{
    setRange(property, qMin(minimum(property), maximum), maximum);
}

void QtDoublePropertyManager::setRange(QtProperty *property, double minimum, double maximum)
{
    announceChanges(this, property, d->values, d->values.setRange(property, minimum, maximum));
}

void QtDoublePropertyManager::setSingleStep(QtProperty *property, double step)
{
    announceChanges(this, property, d->values, d->values.setSingleStep(property, step));
}

void QtDoublePropertyManager::setDecimals(QtProperty *property, int decimals)
{
    const auto found = d->decimals.find(property);
    decimals = qBound(0, decimals, maximumDecimals);
    if (found == d->decimals.end() || *found == decimals)
        return;
    *found = decimals;
    emit decimalsChanged(property, decimals);
    emit propertyChanged(property);
}

QString QtDoublePropertyManager::valueText(const QtProperty *property) const
{
    return QLocale().toString(value(property), 'f', decimals(property));
}

void QtDoublePropertyManager::initializeProperty(QtProperty *property)
{
    d->values.add(property);
    d->decimals.insert(property, defaultDecimals);
}

void QtDoublePropertyManager::uninitializeProperty(QtProperty *property)
{
    d->values.remove(property);
    d->decimals.remove(property);
}
