#include "install/place_file.h"

#include <optional>

#include "data/unpack.h"
#include "install/file_holders.h"
#include "install/file_names.h"
#include "platform/error.h"
#include "platform/text.h"

namespace setup {
namespace {

bool ContainsUpper(std::string_view upper_text, std::string_view name) {
    return upper_text.find(text::AsciiUpper(name)) != std::string_view::npos;
}

bool IsGuarded(std::string_view upper_name) {
    for (std::string_view name : kGuardedPrograms)
        if (ContainsUpper(upper_name, name)) return true;
    return false;
}

std::string FileMessage(std::string_view name, std::string_view code) {
    std::string text = "文件 ";
    return text.append(name).append("复制出错(").append(code).append(")！ ");
}

PlaceOutcome Done(Placement placement, std::uint64_t bytes = 0) {
    return {placement, {}, 0, bytes};
}

PlaceOutcome Failed(std::string_view code, const Result& write, std::string holders = {}) {
    return {Placement::Failed, std::string(code), write.error, 0, std::move(holders)};
}

std::string Question(std::string_view name) {
    std::string question = "程序 ";
    return question.append(name).append("正在运行，是否强制结束它? ");
}

// The second write after the user's answer; a success needs nothing more.
std::optional<PlaceOutcome> WriteAgain(InstallSession& session, std::string_view type,
                                       std::string_view resource_name, const std::string& target,
                                       Result& write) {
    std::uint64_t bytes = 0;
    write = WriteEntry(session, type, resource_name, target, bytes);
    if (write) return Done(Placement::Written, bytes);
    return std::nullopt;
}

// The new file waits beside the held one and takes its place at the next restart: never half
// done, since the system swaps the two names in one step before any program runs. When even that
// is refused, the entry is not installed and the user is told with code.
PlaceOutcome ReplaceAtRestart(InstallSession& session, std::string_view type,
                              std::string_view resource_name, const std::string& target,
                              std::string_view shown_name, std::string_view code,
                              std::string holders) {
    std::uint64_t bytes = 0;
    const Result scheduled =
        session.platform.files.ReplaceAtRestart(target, [&](const ByteSink& sink) {
            bytes = 0;
            session.contents->Unpack(type, resource_name, [&](Bytes chunk) {
                bytes += chunk.size();
                return sink(chunk);
            });
        });
    if (scheduled) return {Placement::ReplacedAtRestart, {}, 0, bytes, std::move(holders)};
    session.platform.dialogs.ShowError(FileMessage(shown_name, code));
    return Failed(code, scheduled, std::move(holders));
}

// A guarded program's file could not be written: if the program runs, the user may end it, and
// the write is tried once more. A write that still fails after Yes, or after an unattended No, is
// replaced at the next restart; the user's No, or no window of the program, is reported.
PlaceOutcome HandleGuardedFailure(InstallSession& session, std::string upper_name,
                                  const std::string& target, std::string_view type,
                                  std::string_view resource_name, Result write) {
    const std::string name = WithoutExe(std::move(upper_name));
    InstallPlatform& platform = session.platform;
    if (IsProgramRunning(platform.processes, name)) {
        // An ended program can hold its file for a moment: wait for it, a few seconds at most,
        // so the second write does not fail only because it came too soon.
        const bool yes = platform.dialogs.AskWarning(Question(name));
        if (yes)
            (void)platform.processes.WaitForExit(KillProgram(platform.processes, target),
                                                 kProgramExitWaitMs);  // the write finds out
        if (auto written = WriteAgain(session, type, resource_name, target, write)) return *written;
        if (yes || session.ReplaceHeldFilesAtRestart)
            return ReplaceAtRestart(session, type, resource_name, target, name, "X002",
                                    DescribeHolders(platform.processes.FileHolders(target)));
    }
    platform.dialogs.ShowError(FileMessage(name, "X002"));
    return Failed("X002", write);
}

// Any other file that a running program holds: the file's own program, or one that has it loaded
// or open. Those running from the installation folder are the product's: the user may end them as
// a guarded program. Those from elsewhere are never ended. A file nobody is found to hold is a
// plain write failure.
PlaceOutcome HandleHeldFile(InstallSession& session, std::string upper_name,
                            const std::string& target, std::string_view type,
                            std::string_view resource_name, Result write) {
    InstallPlatform& platform = session.platform;
    const FileHolders holders = FindFileHolders(platform.processes, target, session.InstallDir);
    if (holders.empty()) {
        platform.dialogs.ShowError(FileMessage(upper_name, "X001"));
        return Failed("X001", write);
    }
    std::string described = DescribeHolders(holders.inside);
    if (!holders.outside.empty())
        described += (described.empty() ? "" : "; ") +
                     std::string("outside the folder, left running: ") +
                     DescribeHolders(holders.outside);
    const std::string name = WithoutExe(std::move(upper_name));
    if (!holders.inside.empty()) {
        if (platform.dialogs.AskWarning(Question(HolderNames(holders.inside)))) {
            // One that would not end, or did not within the bound, keeps the file: the write
            // finds out. One that exited while the user was asked has let go of it.
            (void)EndHolders(platform.processes, holders.inside, kProgramExitWaitMs);
            if (holders.outside.empty())
                if (auto written = WriteAgain(session, type, resource_name, target, write))
                    return *written;
        } else if (!session.ReplaceHeldFilesAtRestart) {
            platform.dialogs.ShowError(FileMessage(name, "X002"));
            return Failed("X002", write, std::move(described));
        }
    }
    return ReplaceAtRestart(session, type, resource_name, target, name, "X002",
                            std::move(described));
}

}  // namespace

// The whole entry, read through the installer's file and unpacked into the file as it is
// written: neither the entry nor the file is ever held in memory whole.
Result WriteEntry(InstallSession& session, std::string_view type, std::string_view name,
                  const std::string& target, std::uint64_t& bytes, const std::atomic<bool>* stop) {
    return session.platform.files.WriteWholeFile(target, [&](const ByteSink& sink) {
        bytes = 0;
        session.contents->Unpack(type, name, [&](Bytes chunk) {
            if (stop && *stop) throw WriteStopped{};
            if (!stop && bytes < kLongCopyBytes && bytes + chunk.size() >= kLongCopyBytes)
                session.observer->LongCopyUnderway();
            bytes += chunk.size();
            return sink(chunk);
        });
    });
}

bool IsProtectedName(std::string_view target) {
    std::string upper = text::AsciiUpper(ExtractFileName(target));
    for (std::string_view name : kProtectedFiles)
        if (ContainsUpper(upper, name)) return true;
    return false;
}

std::optional<PlaceOutcome> PrepareEntry(InstallSession& session, std::string_view resource_name,
                                         std::string_view resource_type,
                                         const std::string& target) {
    if (text::Trim(resource_name).empty()) return Done(Placement::Nothing);
    if (IsProtectedName(target) && session.platform.files.FileExists(target))
        return Done(Placement::Kept);
    session.observer->ShowCopyCaption(kCopyingCaption + target);
    if (!session.contents->Holds(resource_type, resource_name))
        throw ResourceNotFound(resource_name);
    return std::nullopt;
}

PlaceOutcome FinishEntry(InstallSession& session, std::string_view resource_name,
                         std::string_view resource_type, const std::string& target, Result write,
                         std::uint64_t bytes) {
    if (write) return Done(Placement::Written, bytes);
    std::string upper_name = text::AsciiUpper(ExtractFileName(target));
    if (IsGuarded(upper_name))
        return HandleGuardedFailure(session, std::move(upper_name), target, resource_type,
                                    resource_name, write);
    return HandleHeldFile(session, std::move(upper_name), target, resource_type, resource_name,
                          write);
}

PlaceOutcome PlaceFile(InstallSession& session, std::string_view resource_name,
                       std::string_view resource_type, const std::string& target) {
    if (auto done = PrepareEntry(session, resource_name, resource_type, target)) return *done;
    std::uint64_t bytes = 0;
    const Result write = WriteEntry(session, resource_type, resource_name, target, bytes);
    return FinishEntry(session, resource_name, resource_type, target, write, bytes);
}

bool IsProgramRunning(const Processes& processes, std::string_view name) {
    for (const std::string& title : processes.TopLevelWindowTitles())
        if (!title.empty() && text::EqualsIgnoreAsciiCase(title, name)) return true;
    return false;
}

std::vector<std::uint32_t> KillProgram(Processes& processes, std::string_view path) {
    std::vector<std::uint32_t> ended;
    for (const ProcessEntry& process : processes.Snapshot())
        if (!process.image_path.empty() && text::EqualsIgnoreAsciiCase(process.image_path, path) &&
            processes.Terminate(process.id))
            ended.push_back(process.id);
    return ended;
}

}  // namespace setup
