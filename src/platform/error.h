// Failures, in two forms. A call of the platform that can fail returns a Result: whether it went
// through, and the platform's error code when it did not. A failure that ends what the caller was
// doing travels as the one exception type, RuntimeError: what went wrong (its kind), the platform's
// error code where there is one, and the text to show, which is the runtime library's English
// text, as the fixed catch points (listed in the README) show it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace setup {

struct [[nodiscard]] Result {
    bool ok = false;
    std::uint32_t error = 0;  // the platform's error code when not ok (0 when it gave none)
    explicit operator bool() const { return ok; }
    static Result Ok() { return {true, 0}; }
    static Result Failed(std::uint32_t error) { return {false, error}; }
};

enum class ErrorKind {
    ResourceMissing,  // a resource of the installer is not there
    DataDamaged,      // a stream or a table of the installer does not read
    BadSetting,       // a settings value is not what its syntax asks
    OutOfMemory,
    Registry,  // a registry value could not be written or read
    Shell,     // the shell's link object could not be made or used
    BadName,   // a payload entry's name cannot be installed
    Other,
};

// Derived from std::exception, not std::runtime_error: the library's runtime_error keeps its text
// in the old reference-counted string, whose code would add some 60 KB to the installer.
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorKind kind, std::string text, std::uint32_t system_error = 0)
        : text_(std::move(text)), kind_(kind), system_error_(system_error) {}

    ErrorKind Kind() const noexcept { return kind_; }
    // The platform's error code behind the failure (a Win32 error or an HRESULT), or 0.
    std::uint32_t SystemError() const noexcept { return system_error_; }
    // The text to show.
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
    ErrorKind kind_;
    std::uint32_t system_error_;
};

RuntimeError ResourceNotFound(std::string_view name);  // "Resource %s not found"
RuntimeError StreamReadError();                        // "Stream read error"
RuntimeError ListIndexOutOfBounds(int index);          // "List index out of bounds (%d)"
RuntimeError NotValidInteger(std::string_view text);   // "'%s' is not a valid integer value"
RuntimeError GenericError();                           // "Error"
RuntimeError OutOfMemory();                            // "Out of memory"
RuntimeError FailedToSetData(std::string_view value, std::uint32_t system_error = 0);
RuntimeError InvalidDataType(std::string_view value);
RuntimeError InvalidFileName(std::string_view name);

}  // namespace setup
