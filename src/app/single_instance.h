// One installer of a product at a time: a named mutex in the global namespace, held for the life
// of the process, so a second installer started meanwhile (in any session) finds it and writes
// nothing.
#pragma once

#include <string>

#include "data/settings.h"
#include "platform/win32/handles.h"

namespace setup::app {

// What the user is told when another installer of the product runs.
inline constexpr char kAlreadyRunningMessage[] = "另一个安装程序正在运行，请等它结束后再试。";

// The mutex's name for a product: its uninstall entry's name, the product's identity on the
// machine.
std::string InstallerMutexName(const ProductStrings& strings);

class SingleInstance {
public:
    explicit SingleInstance(const std::string& name);
    // Another process holds the name (or it exists and this one may not open it).
    bool AnotherRuns() const { return another_; }

private:
    win32::UniqueHandle mutex_;
    bool another_ = false;
};

}  // namespace setup::app
