#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>

// The kinds of node in the sensor description, one row each in `parameterKinds`. The layers
// dispatch on a kind's storage, never on the kind itself, so that a new kind which keeps its
// value like an existing one is one row here (and, in the window, one manager and its editor).
namespace BravoSensorPlugin {
namespace Core {

enum class ParameterKind { Category, Enumerator, Int, Double, Bool, Action, String };

// How a node's value is kept, read from the description, checked and compared in a settings
// file, encoded for the sensor and held by the simulated sensor.
enum class ValueStorage {
    None,    // a group: no value and no address
    Button,  // no value; a write is a command, any number
    Choice,  // an index into the node's items; the sensor holds its device value
    Whole,   // a whole number within `min` and `max`
    Decimal, // a decimal within `min` and `max`; the sensor holds it scaled
    Truth,   // 0 or 1
    Text,    // a text of the node's items, or a read-only text; never written
};

struct ParameterKindRow
{
    ParameterKind kind;
    const char *typeText; // the description's `type`
    ValueStorage storage;
};

constexpr ParameterKindRow parameterKinds[] = {
    {ParameterKind::Category, "category", ValueStorage::None},
    {ParameterKind::Enumerator, "enumerator", ValueStorage::Choice},
    {ParameterKind::Int, "int", ValueStorage::Whole},
    {ParameterKind::Double, "double", ValueStorage::Decimal},
    {ParameterKind::Bool, "bool", ValueStorage::Truth},
    {ParameterKind::Action, "action", ValueStorage::Button},
    {ParameterKind::String, "string", ValueStorage::Text},
};

constexpr bool rowsFollowTheEnum()
{
    for (std::size_t row = 0; row < std::size(parameterKinds); ++row) {
        if (std::size_t(parameterKinds[row].kind) != row)
            return false;
    }
    return true;
}
static_assert(rowsFollowTheEnum(), "one row per kind, in the enum's order");

constexpr const ParameterKindRow &kindRow(ParameterKind kind)
{
    return parameterKinds[std::size_t(kind)];
}
constexpr const char *typeText(ParameterKind kind) { return kindRow(kind).typeText; }
constexpr ValueStorage storageOf(ParameterKind kind) { return kindRow(kind).storage; }

// The kind of a `type` text; nothing for a text the format does not know.
std::optional<ParameterKind> parameterKind(const std::string &typeText);

// Holds a value the sensor keeps and confirms: neither a category nor a button.
constexpr bool holdsValue(ParameterKind kind)
{
    return storageOf(kind) != ValueStorage::None && storageOf(kind) != ValueStorage::Button;
}
// Kept as text rather than as a number of one or two bytes.
constexpr bool holdsText(ParameterKind kind) { return storageOf(kind) == ValueStorage::Text; }

} // namespace Core
} // namespace BravoSensorPlugin
