#pragma once

#include "extensionsystem_global.h"

#include <QMetaType>

#include <sstream>
#include <string>

namespace ExtensionSystem {

// One entry of a plug-in's sensor catalogue.
class EXTENSIONSYSTEM_EXPORT SensorBasic
{
public:
    SensorBasic();
    SensorBasic(std::string id, std::string name);
    SensorBasic(const SensorBasic &other);
    SensorBasic &operator=(const SensorBasic &other);
    virtual ~SensorBasic();

    // Reads the XML text of one catalogue entry from the stream's current read
    // position to its end (elements "id" and "name"). Returns false and leaves
    // the record as it was when the text is not XML or lacks a non-empty name
    // or id. The stream stays usable for further writes.
    bool fromXMLStream(std::stringstream &in);

    const std::string &id() const;
    const std::string &name() const;

private:
    std::string m_id;
    std::string m_name;
};

} // namespace ExtensionSystem

Q_DECLARE_METATYPE(ExtensionSystem::SensorBasic)
