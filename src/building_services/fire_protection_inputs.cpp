#include "building_services/fire_protection_inputs.h"

#include "textio/numtext.h"

#include <cmath>

namespace building_services {

std::optional<double> positiveNumber(const QString& text, bool whole)
{
    const std::optional<double> value = textio::readNumber(text);
    if (!value || !(*value > 0) || (whole && std::floor(*value) != *value))
        return std::nullopt;
    return value;
}

} // namespace building_services
