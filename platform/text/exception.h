#pragma once
// The one exception family of our platform layer. Handlers let it travel to the
// application's dispatcher, which shows Message() unchanged in the error box.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Raised by the number conversions ("'%s' is not a valid floating point value").
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
