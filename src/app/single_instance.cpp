#include "app/single_instance.h"

namespace setup::app {

std::string InstallerMutexName(const ProductStrings& strings) {
    return "Global\\Setup." + strings.Company;
}

// A mutex another user's installer made may refuse this one access: that too means it runs.
SingleInstance::SingleInstance(const std::string& name)
    : mutex_(CreateMutexA(nullptr, FALSE, name.c_str())) {
    another_ = !mutex_ || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace setup::app
