#pragma once

#include <qwt_interval.h>

#include <functional>

namespace Utils {
namespace Charts {

// A view the user asked for by panning or zooming: time and left-axis range.
using ViewRequest = std::function<void(const QwtInterval &time, const QwtInterval &value)>;

} // namespace Charts
} // namespace Utils
