// An installation over in-memory doubles: the shipped product names, a machine with drives C: and
// D:, the user's shell folders, the Run key, and a main window that records what it is shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_list.h"
#include "data/settings.h"
#include "doubles/memory_dialogs.h"
#include "doubles/memory_file_system.h"
#include "doubles/memory_processes.h"
#include "doubles/memory_registry.h"
#include "doubles/memory_resources.h"
#include "doubles/memory_shell.h"
#include "install/install_session.h"
#include "support/shipped_settings.h"
#include "support/zlib_frame.h"

namespace setup::testing {

inline ProductStrings ShippedStrings() {
    MemoryResources resources;
    for (unsigned i = 0; i < kShippedSettings.size(); ++i)
        resources.SetString(kFirstSettingId + i, std::string(kShippedSettings[i]));
    return ReadSetupSettings(resources).strings;
}

// Records what the installation shows, and answers with the options a test sets.
class RecordingObserver final : public InstallObserver {
public:
    WindowHandle handle = 0x5150;
    InstallOptions options;
    std::vector<std::string> copy_captions;
    std::vector<double> fractions;
    std::vector<std::string> progress_captions;
    int runs_ended = 0;
    int long_copies = 0;

    WindowHandle Owner() const override { return handle; }
    void ShowCopyCaption(std::string_view caption) override { copy_captions.emplace_back(caption); }
    void LongCopyUnderway() override { ++long_copies; }
    void ShowProgress(double fraction, std::string_view caption) override {
        fractions.push_back(fraction);
        progress_captions.emplace_back(caption);
    }
    InstallOptions Options() const override { return options; }
    void RunEnded() override { ++runs_ended; }
};

inline constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;
inline constexpr RegistryRoot kHkcu = RegistryRoot::CurrentUser;
inline constexpr char kDesktop[] = "C:\\users\\me\\Desktop";
inline constexpr char kPrograms[] = "C:\\users\\me\\Start Menu\\Programs";
inline constexpr char kAppData[] = "C:\\users\\me\\AppData";
inline constexpr char kFavorites[] = "C:\\users\\me\\Favorites";
inline constexpr char kInstallDir[] = "D:\\Tessik软件\\TessikOne软件商贸版";

struct InstallFixture {
    MemoryFileSystem files;
    MemoryRegistry registry;
    MemoryShell shell{files};
    MemoryProcesses processes{&files};
    MemoryDialogs dialogs;
    MemoryResources resources;
    ProductStrings strings = ShippedStrings();
    RecordingObserver window;
    DirectContents contents{resources};
    InstallSession session{
        strings, {files, registry, shell, processes, dialogs, resources}, &window, &contents};

    InstallFixture() {
        files.AddDirectory("C:\\windows\\system32");
        files.AddDirectory("D:");
        for (const char* folder : {kDesktop, kPrograms, kAppData, kFavorites})
            files.AddDirectory(folder);
        shell.SetSystemDirectory("C:\\windows\\system32");
        shell.SetSpecialFolder(0x10, kDesktop);
        shell.SetSpecialFolder(0x06, kFavorites);
        shell.SetSpecialFolder(0x02, kPrograms);
        shell.SetSpecialFolder(0x1A, kAppData);
        registry.AddKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
        const char* shell_folders =
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
        registry.SetRawValue(kHkcu, shell_folders, "Programs", 1, kPrograms);
        registry.SetRawValue(kHkcu, shell_folders, "AppData", 1, kAppData);
        UseInstallDir(kInstallDir);
    }

    // The paths that accepting page 2 gives.
    void UseInstallDir(const std::string& dir) {
        files.AddDirectory(dir);
        session.InstallDir = dir;
        session.MainExePath = dir + "\\" + strings.MainExeName;
        session.UninstallerPath = dir + "\\" + strings.UninstallName;
    }

    std::string InDir(std::string_view name) const {
        return session.InstallDir + "\\" + std::string(name);
    }

    void AddPayload(int index, std::string_view content) {
        resources.SetResource(PayloadResourceType(index), PayloadResourceName(index),
                              Frame(content));
    }

    std::string FileText(std::string_view path) const {
        auto bytes = files.FileBytes(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
    }
};

}  // namespace setup::testing
