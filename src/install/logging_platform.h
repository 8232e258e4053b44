// The platform as the log sees it: each folder made, registry value written or removed, link
// written, program started or ended, and message shown goes to the log, then on to the real one.
#pragma once

#include <memory>

#include "install/install_log.h"
#include "install/install_session.h"

namespace setup {

class LoggingPlatform {
public:
    LoggingPlatform(const InstallPlatform& inner, InstallLog& log);
    ~LoggingPlatform();
    LoggingPlatform(const LoggingPlatform&) = delete;
    LoggingPlatform& operator=(const LoggingPlatform&) = delete;

    // The same interfaces, logging; the resources are passed as they are.
    InstallPlatform Platform();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    const Resources& resources_;
};

}  // namespace setup
