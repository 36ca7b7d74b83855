#pragma once

#include <model/parameterkind.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/buttonmanager.h>

// The manager class that holds the properties of each value storage. Every kind's manager is one
// of them (the window checks so when it registers the manager), so the window reaches any
// property's values through the class of its storage, whatever its kind.
namespace BravoSensorPlugin {
namespace Core {

template <ValueStorage>
struct StorageManager;
template <>
struct StorageManager<ValueStorage::None>
{
    using Type = QtGroupPropertyManager;
};
template <>
struct StorageManager<ValueStorage::Button>
{
    using Type = Utils::ButtonManager;
};
template <>
struct StorageManager<ValueStorage::Choice>
{
    using Type = QtEnumPropertyManager;
};
template <>
struct StorageManager<ValueStorage::Whole>
{
    using Type = QtIntPropertyManager;
};
template <>
struct StorageManager<ValueStorage::Decimal>
{
    using Type = QtDoublePropertyManager;
};
template <>
struct StorageManager<ValueStorage::Truth>
{
    using Type = QtBoolPropertyManager;
};
template <>
struct StorageManager<ValueStorage::Text>
{
    using Type = QtStringPropertyManager;
};

template <ValueStorage storage>
using StorageManagerType = typename StorageManager<storage>::Type;

// The manager, known to hold values of the storage.
template <ValueStorage storage>
StorageManagerType<storage> *storageManager(QtAbstractPropertyManager *manager)
{
    return static_cast<StorageManagerType<storage> *>(manager);
}

// The manager of a property whose kind has the storage.
template <ValueStorage storage>
StorageManagerType<storage> *managerOf(const QtProperty *property)
{
    return storageManager<storage>(property->propertyManager());
}

} // namespace Core
} // namespace BravoSensorPlugin
