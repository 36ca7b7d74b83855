#include "sensorbasic.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <iterator>
#include <utility>

namespace ExtensionSystem {

SensorBasic::SensorBasic() = default;

SensorBasic::SensorBasic(std::string id, std::string name)
    : m_id(std::move(id))
    , m_name(std::move(name))
{
}

SensorBasic::SensorBasic(const SensorBasic &other) = default;
SensorBasic &SensorBasic::operator=(const SensorBasic &other) = default;
SensorBasic::~SensorBasic() = default;

bool SensorBasic::fromXMLStream(std::stringstream &in)
{
    // Catalogue builders append entry after entry to one stream, so only the
    // text since the last read belongs to this entry.
    std::istringstream entry(std::string(std::istreambuf_iterator<char>(in), {}));
    // Reading to the end set eof; the builder still has to append the next entry.
    in.clear();

    namespace pt = boost::property_tree;
    pt::ptree tree;
    try {
        pt::read_xml(entry, tree, pt::xml_parser::no_comments | pt::xml_parser::trim_whitespace);
    } catch (const pt::ptree_error &) {
        return false;
    }
    std::string id = tree.get<std::string>("id", std::string());
    std::string name = tree.get<std::string>("name", std::string());
    if (id.empty() || name.empty())
        return false;
    m_id = std::move(id);
    m_name = std::move(name);
    return true;
}

const std::string &SensorBasic::id() const
{
    return m_id;
}

const std::string &SensorBasic::name() const
{
    return m_name;
}

} // namespace ExtensionSystem
