#include "platform/error.h"

namespace setup {

// Messages are built by appending: GCC 12 warns falsely on operator+ chains with a string_view.
static std::string Message(std::string_view before, std::string_view middle,
                           std::string_view after) {
    std::string text(before);
    return text.append(middle).append(after);
}

RuntimeError ResourceNotFound(std::string_view name) {
    return {ErrorKind::ResourceMissing, Message("Resource ", name, " not found")};
}

RuntimeError StreamReadError() {
    return {ErrorKind::DataDamaged, "Stream read error"};
}

RuntimeError ListIndexOutOfBounds(int index) {
    return {ErrorKind::BadSetting,
            Message("List index out of bounds (", std::to_string(index), ")")};
}

RuntimeError NotValidInteger(std::string_view text) {
    return {ErrorKind::BadSetting, Message("'", text, "' is not a valid integer value")};
}

RuntimeError GenericError() {
    return {ErrorKind::DataDamaged, "Error"};
}

RuntimeError OutOfMemory() {
    return {ErrorKind::OutOfMemory, "Out of memory"};
}

RuntimeError FailedToSetData(std::string_view value, std::uint32_t system_error) {
    return {ErrorKind::Registry, Message("Failed to set data for '", value, "'"), system_error};
}

RuntimeError InvalidDataType(std::string_view value) {
    return {ErrorKind::Registry, Message("Invalid data type for '", value, "'")};
}

RuntimeError InvalidFileName(std::string_view name) {
    return {ErrorKind::BadName, Message("Invalid file name '", name, "'")};
}

}  // namespace setup
