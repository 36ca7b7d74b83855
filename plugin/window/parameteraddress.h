#pragma once

class QString;

namespace BravoSensorPlugin {
namespace Core {

// Where a parameter lives on the device, read from its "index;subIndex;size" text.
struct ParameterAddress
{
    int index = 0;
    int subIndex = 0;
    int size = 0; // the count byte of the write frame: 6 for one value byte, 7 for two

    // Fields that are missing or not decimal numbers read as 0.
    static ParameterAddress fromText(const QString &text);
    // Only these sizes fit the write frame; other parameters are never written.
    bool hasWriteFrame() const { return size == 6 || size == 7; }
};

} // namespace Core
} // namespace BravoSensorPlugin
