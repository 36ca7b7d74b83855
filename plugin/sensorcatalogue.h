#pragma once

#include "descriptionfile.h"
#include "sensor.h"

#include <list>
#include <string>

// The sensors that the description file offers. Both functions see the file as it is now
// (a changed file is read again) and never throw; a description that cannot be used yields no
// sensors.
namespace BravoSensorPlugin {
namespace Core {

// Every entry of document.sensorList that the host's record accepts, in file order.
std::list<ExtensionSystem::SensorBasic> buildSensorCatalogue(const std::string &descriptionPath
                                                             = descriptionFilePath());

// The record of the first sensor called name, or a default record.
Sensor findSensor(const std::string &name,
                  const std::string &descriptionPath = descriptionFilePath());

} // namespace Core
} // namespace BravoSensorPlugin
