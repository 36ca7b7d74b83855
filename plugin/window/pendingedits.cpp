#include "pendingedits.h"

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

void PendingEdits::record(QtProperty *property, const QVariant &value)
{
    const auto found = std::find_if(m_edits.begin(), m_edits.end(), [property](const Edit &edit) {
        return edit.property == property;
    });
    if (found != m_edits.end())
        found->value = value;
    else
        m_edits.append({property, value});
}

bool PendingEdits::contains(const QtProperty *property) const
{
    return std::any_of(m_edits.cbegin(), m_edits.cend(),
                       [property](const Edit &edit) { return edit.property == property; });
}

} // namespace Core
} // namespace BravoSensorPlugin
