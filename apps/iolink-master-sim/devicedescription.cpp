#include "devicedescription.h"

#include <model/descriptionformat.h>

#include <QByteArray>
#include <QFile>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>
#include <sstream>

namespace Kr7dSim {

using namespace BravoSensorPlugin::Core;

namespace {

using Tree = boost::property_tree::ptree;

QString text(const Tree &node, const char *key)
{
    return QString::fromStdString(node.get<std::string>(key, std::string()));
}

void collectNestedParameters(const Tree &node, QVector<ParameterInfo> &out);

// A node without a known type or without its address is skipped with all its
// children, as the plug-in skips it: the device then has no such parameter.
void collectParameters(const Tree &node, QVector<ParameterInfo> &out)
{
    const std::string typeText = node.get<std::string>(DescriptionFormat::typeKey, std::string());
    const std::optional<ParameterKind> type = parameterKind(typeText);
    if (type && storageOf(*type) == ValueStorage::None) {
        collectNestedParameters(node, out);
        return;
    }
    const auto index = node.get_optional<int>(DescriptionFormat::indexKey);
    const auto subIndex = node.get_optional<int>(DescriptionFormat::subIndexKey);
    const auto size = node.get_optional<int>(DescriptionFormat::sizeKey);
    if (!type || !index || !subIndex || !size)
        return;

    ParameterInfo info;
    info.id = text(node, "id");
    info.type = *type;
    info.index = *index;
    info.subIndex = *subIndex;
    info.size = *size;
    // Texts without a readonly key are identification data, read-only by default.
    const std::string writableDefault = holdsText(*type) ? "true" : "false";
    info.readOnly = node.get<std::string>("readonly", writableDefault) != "false";
    info.defaultValue = text(node, "defaultvalue");
    if (const auto items = node.get_child_optional("items"))
        info.choiceCount = int(items->size());
    out.append(info);
    collectNestedParameters(node, out);
}

void collectNestedParameters(const Tree &node, QVector<ParameterInfo> &out)
{
    for (const auto &child : node) {
        if (child.first == "property")
            collectParameters(child.second, out);
    }
}

SensorType sensorType(const Tree &node)
{
    SensorType sensor;
    sensor.name = text(node, "name");
    sensor.id = text(node, "id");
    const auto variants = node.get_child_optional("sensors");
    if (!variants)
        return sensor;
    for (const auto &child : *variants) {
        const Tree &entry = child.second;
        Variant variant;
        variant.id3 = text(entry, "ID3");
        variant.maxRange = entry.get<double>("maxRange", 0.0);
        variant.minRange = entry.get<double>("minRange", 0.0);
        variant.bitsNumber = entry.get<int>("bitsNumber", 0);
        variant.divisor = entry.get<double>("floatVal", 0.0);
        // Without a positive divisor the variant has no pressure scale to simulate.
        if (variant.divisor > 0.0)
            sensor.variants.append(variant);
    }
    return sensor;
}

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

std::optional<DeviceDescription> DeviceDescription::fromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return fromXml(file.readAll(), error);
}

std::optional<DeviceDescription> DeviceDescription::fromXml(const QByteArray &xml, QString *error)
{
    DeviceDescription description;
    try {
        std::istringstream in(xml.toStdString());
        Tree tree;
        boost::property_tree::read_xml(in, tree,
                                       boost::property_tree::xml_parser::no_comments
                                           | boost::property_tree::xml_parser::trim_whitespace);
        if (tree.get<std::string>(DescriptionFormat::documentIdPath, std::string())
            != DescriptionFormat::documentId) {
            setError(error, QStringLiteral("not a %1 description")
                                .arg(QLatin1String(DescriptionFormat::documentId)));
            return std::nullopt;
        }
        if (const auto sensors = tree.get_child_optional(DescriptionFormat::sensorListPath)) {
            for (const auto &child : *sensors)
                description.m_sensors.append(sensorType(child.second));
        }
        if (const auto nodes = tree.get_child_optional(DescriptionFormat::parameterNodesPath)) {
            for (const auto &child : *nodes)
                collectParameters(child.second, description.m_parameters);
        }
    } catch (const boost::property_tree::ptree_error &e) {
        setError(error, QString::fromStdString(e.what()));
        return std::nullopt;
    }
    if (description.m_sensors.isEmpty()) {
        setError(error, QStringLiteral("the description lists no sensor"));
        return std::nullopt;
    }
    return description;
}

std::optional<DeviceIdentity> DeviceDescription::select(const DeviceSelection &selection) const
{
    // A product id is the sensor's four-character id followed by the variant's code.
    const QString &productId = selection.productId;
    if (productId.size() >= 7) {
        for (const SensorType &sensor : m_sensors) {
            if (sensor.id != productId.left(4))
                continue;
            for (const Variant &variant : sensor.variants) {
                if (variant.id3 == productId.right(3))
                    return DeviceIdentity{sensor, variant, productId};
            }
        }
    }

    const auto sensor
        = std::find_if(m_sensors.cbegin(), m_sensors.cend(), [&](const SensorType &s) {
              return selection.sensorName.isEmpty() || s.name == selection.sensorName;
          });
    if (sensor == m_sensors.cend())
        return std::nullopt;
    const auto variant
        = std::find_if(sensor->variants.cbegin(), sensor->variants.cend(), [&](const Variant &v) {
              return selection.variantId3.isEmpty() || v.id3 == selection.variantId3;
          });
    if (variant == sensor->variants.cend())
        return std::nullopt;
    const QString reported = productId.isEmpty() ? sensor->id + variant->id3 : productId;
    return DeviceIdentity{*sensor, *variant, reported};
}

} // namespace Kr7dSim
