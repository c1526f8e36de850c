#include "core/Errors.h"

namespace kt {

std::string FormatMessage1(const std::string& pattern, const std::string& value) {
    for (size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd'))
            return pattern.substr(0, i) + value + pattern.substr(i + 2);
    }
    return pattern;
}

EListError EListError::IndexOutOfBounds(long long index) {
    return EListError(FormatMessage1("List index out of bounds (%d)", std::to_string(index)));
}

}  // namespace kt
