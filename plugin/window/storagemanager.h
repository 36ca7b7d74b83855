#pragma once

#include <model/parameterkind.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/buttonmanager.h>

#include <cstddef>
#include <tuple>

// The manager class that holds the properties of each value storage. Every kind's manager is one
// of them (the window checks so when it registers the manager), so the window reaches any
// property's values through the class of its storage, whatever its kind.
namespace BravoSensorPlugin {
namespace Core {

// In the order of ValueStorage.
using StorageManagers
    = std::tuple<QtGroupPropertyManager, Utils::ButtonManager, QtEnumPropertyManager,
                 QtIntPropertyManager, QtDoublePropertyManager, QtBoolPropertyManager,
                 QtStringPropertyManager>;
static_assert(std::tuple_size<StorageManagers>::value == std::size_t(ValueStorage::Text) + 1,
              "one manager class per storage");

template <ValueStorage storage>
using StorageManagerType = std::tuple_element_t<std::size_t(storage), StorageManagers>;

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
