#include "install/logging_platform.h"

namespace setup {

namespace {

std::string RootName(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\";
}

class LoggingFiles final : public FileSystem {
public:
    LoggingFiles(FileSystem& inner, InstallLog& log) : inner_(inner), log_(log) {}
    bool FileExists(const std::string& p) const override { return inner_.FileExists(p); }
    bool DirectoryExists(const std::string& p) const override { return inner_.DirectoryExists(p); }
    Result MakeDirectory(const std::string& path) override {
        Result made = inner_.MakeDirectory(path);
        log_.Write(made ? "folder created: " + path
                        : log_.WithReason("folder not created: " + path, made.error));
        return made;
    }
    Result MakeProtectedDirectory(const std::string& path) override {
        Result made = inner_.MakeProtectedDirectory(path);
        log_.Write(made ? "folder created, writable by administrators only: " + path
                        : log_.WithReason("folder not created: " + path, made.error));
        return made;
    }
    // Files are logged by the run, which knows what each one is.
    Result WriteWholeFile(const std::string& p, const ContentSource& s) override {
        return inner_.WriteWholeFile(p, s);
    }
    Result ReplaceAtRestart(const std::string& path, const ContentSource& s) override {
        Result scheduled = inner_.ReplaceAtRestart(path, s);
        if (!scheduled)
            log_.Write(log_.WithReason("replacement at restart refused: " + path, scheduled.error));
        return scheduled;
    }
    std::vector<std::string> RemoveWriteLeftovers(const std::string& folder) override {
        std::vector<std::string> removed = inner_.RemoveWriteLeftovers(folder);
        for (const std::string& path : removed)
            log_.Write("left by an earlier run, removed: " + path);
        return removed;
    }
    Result ProbeWrite(const std::string& f) override { return inner_.ProbeWrite(f); }
    std::string FullPath(const std::string& p) const override { return inner_.FullPath(p); }
    std::vector<std::string> SystemFolders() const override { return inner_.SystemFolders(); }
    // The folder check asks only of a folder it keeps as it is: the answer is worth a warning.
    bool LetsUsersWrite(const std::string& folder) const override {
        const bool open = inner_.LetsUsersWrite(folder);
        if (open) log_.Write("warning: ordinary users may change the files in " + folder);
        return open;
    }
    std::optional<std::uint64_t> FreeSpace(const std::string& p) const override {
        return inner_.FreeSpace(p);
    }
    std::optional<std::uint64_t> ClusterSize(const std::string& p) const override {
        return inner_.ClusterSize(p);
    }
    bool IsFixedDrive(char letter) const override { return inner_.IsFixedDrive(letter); }
    std::vector<char> DriveLetters() const override { return inner_.DriveLetters(); }
    std::string CurrentDirectory() const override { return inner_.CurrentDirectory(); }
    Result ChangeDirectory(std::string_view p) override { return inner_.ChangeDirectory(p); }
    std::string DriveCurrentDirectory(char d) const override {
        return inner_.DriveCurrentDirectory(d);
    }
    std::vector<std::string> Subfolders(std::string_view f) const override {
        return inner_.Subfolders(f);
    }

private:
    FileSystem& inner_;
    InstallLog& log_;
};

class LoggingKey final : public RegistryKey {
public:
    LoggingKey(std::unique_ptr<RegistryKey> inner, std::string path, InstallLog& log)
        : inner_(std::move(inner)), path_(std::move(path)), log_(log) {}
    void WriteString(std::string_view name, std::string_view value) override {
        Logged(name, value, [&] { inner_->WriteString(name, value); });
    }
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        Logged(name, std::to_string(value), [&] { inner_->WriteNumber(name, value); });
    }
    std::string ReadString(std::string_view name) const override {
        return inner_->ReadString(name);
    }
    bool ValueExists(std::string_view name) const override { return inner_->ValueExists(name); }
    Result DeleteValue(std::string_view name) override {
        Result deleted = inner_->DeleteValue(name);
        const std::string what = path_ + "\\" + std::string(name);
        log_.Write(deleted ? "registry value removed: " + what
                           : log_.WithReason("registry value not removed: " + what, deleted.error));
        return deleted;
    }
    void Close(bool flush) override { inner_->Close(flush); }

private:
    template <typename Write>
    void Logged(std::string_view name, std::string_view shown, Write write) {
        const std::string what = path_ + "\\" + std::string(name);
        try {
            write();
        } catch (const RuntimeError& e) {
            log_.Write(log_.WithReason("registry value not written: " + what, e.SystemError()));
            throw;
        }
        log_.Write("registry value written: " + what + " = " + std::string(shown));
    }

    std::unique_ptr<RegistryKey> inner_;
    std::string path_;
    InstallLog& log_;
};

class LoggingRegistry final : public Registry {
public:
    LoggingRegistry(Registry& inner, InstallLog& log) : inner_(inner), log_(log) {}
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool create) override {
        std::unique_ptr<RegistryKey> key = inner_.OpenKey(root, path, create);
        const std::string where = RootName(root) + std::string(path);
        if (!key) {
            if (create) log_.Write("registry key not created: " + where);
            return nullptr;
        }
        return std::make_unique<LoggingKey>(std::move(key), where, log_);
    }
    bool KeyExists(RegistryRoot root, std::string_view path) const override {
        return inner_.KeyExists(root, path);
    }

private:
    Registry& inner_;
    InstallLog& log_;
};

class LoggingShell final : public Shell {
public:
    LoggingShell(Shell& inner, InstallLog& log) : inner_(inner), log_(log) {}
    Result WriteShellLink(const ShellLinkProperties& link, const std::string& path) override {
        Result written = inner_.WriteShellLink(link, path);
        log_.Write(written ? "link written: " + path + " -> " + link.target
                           : log_.WithReason("link not written: " + path, written.error));
        return written;
    }
    std::optional<std::string> SpecialFolder(int csidl, WindowHandle owner) const override {
        return inner_.SpecialFolder(csidl, owner);
    }
    Result Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                   std::string_view parameters, std::string_view directory, int show) override {
        Result started = inner_.Execute(owner, verb, file, parameters, directory, show);
        const std::string what = std::string(file) + " " + std::string(parameters);
        log_.Write(started ? "program started: " + what
                           : log_.WithReason("program not started: " + what, started.error));
        if (!started) log_.CountProgramNotStarted();
        return started;
    }
    std::string SystemDirectory() const override { return inner_.SystemDirectory(); }
    std::string LocalDate() const override { return inner_.LocalDate(); }

private:
    Shell& inner_;
    InstallLog& log_;
};

class LoggingProcesses final : public Processes {
public:
    LoggingProcesses(Processes& inner, InstallLog& log) : inner_(inner), log_(log) {}
    std::vector<ProcessEntry> Snapshot() const override { return inner_.Snapshot(); }
    std::vector<ProcessEntry> FileHolders(const std::string& path) const override {
        return inner_.FileHolders(path);
    }
    Result Terminate(std::uint32_t id) override {
        std::string what = "process " + std::to_string(id);
        for (const ProcessEntry& process : inner_.Snapshot())
            if (process.id == id) what += " (" + process.image_path + ")";
        Result ended = inner_.Terminate(id);
        log_.Write(ended ? "program ended: " + what
                         : log_.WithReason("program not ended: " + what, ended.error));
        return ended;
    }
    bool WaitForExit(std::span<const std::uint32_t> ids, unsigned timeout_ms) override {
        return inner_.WaitForExit(ids, timeout_ms);
    }
    std::vector<std::string> TopLevelWindowTitles() const override {
        return inner_.TopLevelWindowTitles();
    }

private:
    Processes& inner_;
    InstallLog& log_;
};

class LoggingDialogs final : public Dialogs {
public:
    LoggingDialogs(Dialogs& inner, InstallLog& log) : inner_(inner), log_(log) {}
    bool AskWarning(std::string_view text) override {
        const bool yes = inner_.AskWarning(text);
        log_.Write("question: " + std::string(text) + " -> " + (yes ? "Yes" : "No"));
        return yes;
    }
    void ShowError(std::string_view text) override {
        log_.Write("error message: " + std::string(text));
        inner_.ShowError(text);
    }
    void ShowPlain(std::string_view text) override {
        log_.Write("message: " + std::string(text));
        inner_.ShowPlain(text);
    }

private:
    Dialogs& inner_;
    InstallLog& log_;
};

}  // namespace

struct LoggingPlatform::Parts {
    LoggingFiles files;
    LoggingRegistry registry;
    LoggingShell shell;
    LoggingProcesses processes;
    LoggingDialogs dialogs;
};

LoggingPlatform::LoggingPlatform(const InstallPlatform& inner, InstallLog& log)
    : parts_(new Parts{{inner.files, log},
                       {inner.registry, log},
                       {inner.shell, log},
                       {inner.processes, log},
                       {inner.dialogs, log}}),
      resources_(inner.resources) {}

LoggingPlatform::~LoggingPlatform() = default;

InstallPlatform LoggingPlatform::Platform() {
    return {parts_->files,     parts_->registry, parts_->shell,
            parts_->processes, parts_->dialogs,  resources_};
}

}  // namespace setup
