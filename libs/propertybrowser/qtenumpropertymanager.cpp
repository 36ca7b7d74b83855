#include "qtenumpropertymanager.h"

#include <QHash>
#include <QStringList>

namespace {

struct EnumValue
{
    int value = -1;
    QStringList names;
};

int boundedIndex(int index, const QStringList &names)
{
    return names.isEmpty() ? -1 : qBound(0, index, names.size() - 1);
}

} // namespace

class QtEnumPropertyManager::Private
{
public:
    QHash<const QtProperty *, EnumValue> values;
};

QtEnumPropertyManager::QtEnumPropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
    , d(std::make_unique<Private>())
{
}

QtEnumPropertyManager::~QtEnumPropertyManager()
{
    clear();
}

int QtEnumPropertyManager::value(const QtProperty *property) const
{
    return d->values.value(property).value;
}

QStringList QtEnumPropertyManager::enumNames(const QtProperty *property) const
{
    return d->values.value(property).names;
}

void QtEnumPropertyManager::setValue(QtProperty *property, int value)
{
    const auto found = d->values.find(property);
    if (found == d->values.end() || found->names.isEmpty())
        return;
    value = boundedIndex(value, found->names);
    if (found->value == value)
        return;
    found->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtEnumPropertyManager::setEnumNames(QtProperty *property, const QStringList &names)
{
    const auto found = d->values.find(property);
    if (found == d->values.end() || found->names == names)
        return;
    const int previous = found->value;
    const int current = boundedIndex(previous, names);
    *found = EnumValue{current, names};
    emit enumNamesChanged(property, names);
    emit propertyChanged(property);
    if (current != previous)
        emit valueChanged(property, current);
}

QString QtEnumPropertyManager::valueText(const QtProperty *property) const
{
    const EnumValue state = d->values.value(property);
    return state.names.value(state.value);
}

void QtEnumPropertyManager::initializeProperty(QtProperty *property)
{
    d->values.insert(property, EnumValue());
}

void QtEnumPropertyManager::uninitializeProperty(QtProperty *property)
{
    d->values.remove(property);
}
