#include "install/installation.h"

#include <exception>

#include "data/file_list.h"
#include "data/payload_check.h"
#include "install/registry_records.h"

namespace setup {

// The names first, then the list: the list is read even when a settings line stopped the names.
std::vector<std::string> Installation::LoadNames(const Resources& resources,
                                                 ProductStrings& strings,
                                                 std::optional<std::string>& error) {
    try {
        ReadSetupSettings(resources, strings, {});
    } catch (const std::exception& e) {
        error = e.what();
    }
    return LoadFileList(resources);
}

Installation::Installation(const InstallPlatform& platform)
    : session_{strings_, platform, &quiet_},
      run_(session_, LoadNames(platform.resources, strings_, load_error_)),
      payload_bytes_(UnpackedPayloadSize(platform.resources, run_.FileCount())) {}

void Installation::SetObserver(InstallObserver* observer) {
    session_.observer = observer ? observer : &quiet_;
}

std::optional<std::string> Installation::FindDamage() const {
    return FindDamagedResource(session_.platform.resources, FileCount());
}

std::string Installation::ReadPreviousPath() {
    return setup::ReadPreviousPath(session_);
}

void Installation::SetPaths(const InstallPaths& paths) {
    session_.InstallDir = paths.InstallDir;
    session_.MainExePath = paths.MainExePath;
    session_.UninstallerPath = paths.UninstallerPath;
}

bool Installation::Step() {
    return started_ && run_.Step();
}

void Installation::RunToEnd() {
    Start();
    while (run_.Step()) {
    }
}

RunOutcome Installation::Outcome() const {
    return started_ ? run_.Outcome() : RunOutcome::Cancelled;
}

void Installation::StartMainProgram() {
    StartProgram(session_, session_.MainExePath);
}

}  // namespace setup
