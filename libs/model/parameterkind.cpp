#include "parameterkind.h"

namespace BravoSensorPlugin {
namespace Core {

const char *typeText(ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Category:
        return "category";
    case ParameterKind::Enumerator:
        return "enumerator";
    case ParameterKind::Int:
        return "int";
    case ParameterKind::Double:
        return "double";
    case ParameterKind::Bool:
        return "bool";
    case ParameterKind::Action:
        return "action";
    case ParameterKind::String:
        return "string";
    }
    return "";
}

std::optional<ParameterKind> parameterKind(const std::string &text)
{
    for (const ParameterKind kind : allParameterKinds) {
        if (text == typeText(kind))
            return kind;
    }
    return std::nullopt;
}

bool holdsValue(ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Category:
    case ParameterKind::Action:
        return false;
    case ParameterKind::Enumerator:
    case ParameterKind::Int:
    case ParameterKind::Double:
    case ParameterKind::Bool:
    case ParameterKind::String:
        break;
    }
    return true;
}

bool holdsText(ParameterKind kind)
{
    return kind == ParameterKind::String;
}

} // namespace Core
} // namespace BravoSensorPlugin
