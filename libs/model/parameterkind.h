#pragma once

#include <array>
#include <optional>
#include <string>

// The kinds of node in the sensor description. Each kind's behaviour is a `switch` over this
// enum in its layer (reading the node, checking and comparing a settings value here; creating,
// decoding, encoding and the settings text in the window's property table; storing in the
// simulated sensor), so that the compiler names every place a new kind must be handled.
namespace BravoSensorPlugin {
namespace Core {

enum class ParameterKind { Category, Enumerator, Int, Double, Bool, Action, String };

constexpr std::array<ParameterKind, 7> allParameterKinds = {
    ParameterKind::Category, ParameterKind::Enumerator, ParameterKind::Int,   ParameterKind::Double,
    ParameterKind::Bool,     ParameterKind::Action,     ParameterKind::String};

// The description's `type` text of a kind.
const char *typeText(ParameterKind kind);
// The kind of a `type` text; nothing for a text the format does not know.
std::optional<ParameterKind> parameterKind(const std::string &typeText);

// Holds a value the sensor keeps and confirms: neither a category nor a button.
bool holdsValue(ParameterKind kind);
// Kept as text rather than as a number of one or two bytes.
bool holdsText(ParameterKind kind);

} // namespace Core
} // namespace BravoSensorPlugin
