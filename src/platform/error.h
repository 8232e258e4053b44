// The one exception type of the installer. Its message is the runtime library's English text, which
// the fixed catch points (window creation, timer tick, image press, check-box click) show as it is.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace setup {

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

RuntimeError ResourceNotFound(std::string_view name);  // "Resource %s not found"
RuntimeError StreamReadError();                        // "Stream read error"
RuntimeError ListIndexOutOfBounds(int index);          // "List index out of bounds (%d)"
RuntimeError NotValidInteger(std::string_view text);   // "'%s' is not a valid integer value"
RuntimeError GenericError();                           // "Error"
RuntimeError OutOfMemory();                            // "Out of memory"

}  // namespace setup
