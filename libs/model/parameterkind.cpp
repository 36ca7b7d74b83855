#include "parameterkind.h"

namespace BravoSensorPlugin {
namespace Core {

std::optional<ParameterKind> parameterKind(const std::string &text)
{
    for (const ParameterKindRow &row : parameterKinds) {
        if (text == row.typeText)
            return row.kind;
    }
    return std::nullopt;
}

} // namespace Core
} // namespace BravoSensorPlugin
