#include "platform/error.h"

namespace setup {

// Messages are built by appending: GCC 12 warns falsely on operator+ chains with a string_view.
static RuntimeError Message(std::string_view before, std::string_view middle, std::string_view after) {
    std::string text(before);
    text.append(middle).append(after);
    return RuntimeError(text);
}

RuntimeError ResourceNotFound(std::string_view name) {
    return Message("Resource ", name, " not found");
}

RuntimeError StreamReadError() { return RuntimeError("Stream read error"); }

RuntimeError ListIndexOutOfBounds(int index) {
    return Message("List index out of bounds (", std::to_string(index), ")");
}

RuntimeError NotValidInteger(std::string_view text) {
    return Message("'", text, "' is not a valid integer value");
}

RuntimeError GenericError() { return RuntimeError("Error"); }

RuntimeError OutOfMemory() { return RuntimeError("Out of memory"); }

}  // namespace setup
