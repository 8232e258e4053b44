#include "install/registry_records.h"

#include "install/file_names.h"
#include "install/post_install_tasks.h"
#include "platform/error.h"
#include "platform/text.h"

namespace setup {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr char kSetupPathValue[] = "SETUPPATH";

// Writing with no key open fails like a refused write.
void WriteValue(RegistryKey* key, std::string_view name, std::string_view value) {
    if (!key) throw FailedToSetData(name);
    key->WriteString(name, value);
}

void CloseKey(std::unique_ptr<RegistryKey>& key, bool flush) {
    if (key) key->Close(flush);
}

// The one rule for the registry tasks: the key is opened (created when asked) and closed here,
// whatever happens; a refused write shows the task's message with its code, is recorded for the
// exit code and the log, and the task after it still runs. The body gets nullptr for a key that
// could not be opened.
template <typename Body>
void WithKey(InstallSession& session, const char* task, std::string_view code,
             const std::string& path, bool create, bool flush, Body body) {
    std::unique_ptr<RegistryKey> key;
    try {
        key = session.platform.registry.OpenKey(kMachine, path, create);
        body(key.get());
    } catch (const RuntimeError& e) {
        session.platform.dialogs.ShowError(RegistryErrorMessage(session.strings, code));
        RecordTaskFailure(session, task, code, e.what());
    }
    CloseKey(key, flush);
}

std::string FirstCharacter(std::string_view text) {
    return text.empty() ? std::string() : std::string(text.substr(0, text::CharLength(text, 0)));
}

// The uninstall entry's values beyond its name and command; the key is open.
void WriteProgramsAndFeatures(InstallSession& session, RegistryKey& key) {
    const ProductStrings& strings = session.strings;
    key.WriteString("DisplayVersion", strings.SoftVersion);
    key.WriteString("Publisher", strings.Company);
    key.WriteString("InstallLocation", session.InstallDir);
    key.WriteString("DisplayIcon", session.MainExePath);
    // In KB, rounded up, as Programs and Features reads it.
    const std::uint64_t kilobytes = (session.InstalledBytes + 1023) / 1024;
    key.WriteNumber("EstimatedSize", static_cast<std::uint32_t>(kilobytes));
    key.WriteString("InstallDate", session.platform.shell.LocalDate());
    key.WriteString("URLInfoAbout", std::string("http://") + kMakerWebHost + "/");
    key.WriteNumber("NoModify", 1);
    key.WriteNumber("NoRepair", 1);
}

}  // namespace

std::string ProductKey(const ProductStrings& strings) {
    return "SOFTWARE\\QRVK" + strings.SoftYear;
}

std::string RegistryErrorMessage(const ProductStrings& strings, std::string_view code) {
    std::string message = strings.Company;
    message += code == "0x002" ? " 修改注册表失败！" : " 在安装过程中写入注册表失败！";
    return message.append(code);
}

// Nothing that a started program does, nor whether it starts, is the installer's concern.
void StartProgram(InstallSession& session, const std::string& path) {
    (void)session.platform.shell.Execute(session.observer->Owner(), "open", path, "False", "",
                                         kShowNormal);
}

void WriteVersionRecord(InstallSession& session) {
    WithKey(session, "WriteVersionRecord", "0x004", ProductKey(session.strings), true, true,
            [&](RegistryKey* key) { WriteValue(key, "BWQRVK", session.strings.SoftVersion); });
}

void WriteSetupPath(InstallSession& session) {
    WithKey(session, "WriteSetupPath", "0x005", ProductKey(session.strings), true, true,
            [&](RegistryKey* key) { WriteValue(key, kSetupPathValue, session.InstallDir); });
}

void WriteRunValue(InstallSession& session, const std::string& path) {
    WithKey(session, "WriteRunValue", "0x001", kRunKey, false, false, [&](RegistryKey* key) {
        if (key) key->WriteString(session.strings.Company, QuoteIfBlank(path));
    });
}

void EnableAutostart(InstallSession& session) {
    const ProductStrings& strings = session.strings;
    WriteRunValue(session, session.MainExePath);
    WriteRunValue(session, ProgramFolder(session) + strings.SvrExeName);
    WriteRunValue(session, ProgramFolder(session) + "scktsrvr.exe");
    StartProgram(session, ProgramFolder(session) + strings.SvrExeName);
    StartProgram(session, ProgramFolder(session) + "scktsrvr.exe");
}

void DisableAutostart(InstallSession& session) {
    WithKey(session, "DisableAutostart", "0x002", kRunKey, true, false, [&](RegistryKey* key) {
        // A value that cannot be deleted is not reported: the task only makes sure of it.
        if (key && key->ValueExists(session.strings.Company))
            (void)key->DeleteValue(session.strings.Company);
    });
}

void WriteUninstallEntry(InstallSession& session) {
    const ProductStrings& strings = session.strings;
    WithKey(session, "WriteUninstallEntry", "0x003", kUninstallKeyBase + strings.Company, true,
            true, [&](RegistryKey* key) {
                WriteValue(key, "DisplayName", strings.SoftSysName);
                // Quoted when the directory has a blank, so the command names the uninstaller
                // and no other program; the uninstaller recognises its one argument.
                // The uninstaller that the settings name, as the program group's link does.
                WriteValue(key, "UninstallString",
                           QuoteIfBlank(session.UninstallerPath) + " UninstalMe");
                WriteProgramsAndFeatures(session, *key);
            });
}

void RegisterAndStart(InstallSession& session, const std::string& path) {
    if (!session.platform.files.FileExists(path)) return;
    WriteRunValue(session, path);
    StartProgram(session, path);
}

void RegisterServers(InstallSession& session) {
    RegisterAndStart(session, ProgramFolder(session) + "scktsrvr.exe");
    RegisterAndStart(session, ProgramFolder(session) + "RuDavovo.exe");
}

std::string ReadPreviousPath(InstallSession& session) {
    Registry& registry = session.platform.registry;
    std::string path;
    std::unique_ptr<RegistryKey> key;
    if (registry.KeyExists(kMachine, ProductKey(session.strings))) {
        try {
            key = registry.OpenKey(kMachine, ProductKey(session.strings), true);
            if (key) path = key->ReadString(kSetupPathValue);
        } catch (const RuntimeError&) {
            // Any value that cannot be read gives the default below.
        }
    }
    CloseKey(key, true);
    if (!path.empty()) {
        session.BrowseDrive = FirstCharacter(path);
        return path;
    }
    const std::string system_drive = FirstCharacter(session.platform.shell.SystemDirectory());
    session.BrowseDrive = system_drive;
    // D: where it is a fixed disk of this machine, as the product has always installed; on a
    // machine without one (or with a card reader or a network drive there) the system's drive.
    std::string drive = "D";
    if (!session.platform.files.IsFixedDrive('D') && !system_drive.empty()) drive = system_drive;
    return drive + ":\\" + session.strings.Company + "\\" + session.strings.SoftSysName;
}

}  // namespace setup
