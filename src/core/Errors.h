// The program's exception classes. An exception that escapes an event handler reaches
// the one place that shows the standard error box; the window stays usable.
#pragma once
#include <stdexcept>
#include <string>

namespace kt {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a number or a boolean.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list: "List index out of bounds (%d)".
class EListError : public Exception {
public:
    using Exception::Exception;
    static EListError IndexOutOfBounds(long long index);
};

// A file that cannot be created, opened, read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// The registry accessor's own failures (wrong value type, key not created).
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Replaces the first "%s" or "%d" of a message pattern with a value.
std::string FormatMessage1(const std::string& pattern, const std::string& value);

}  // namespace kt
