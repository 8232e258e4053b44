// Writing one payload entry to its target path: protected files are kept, the name is shown on
// page 3, and a program file that cannot be replaced because the program runs leads to the
// question whether to end it. A file is always replaced whole or not at all.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/install_session.h"

namespace setup {

// Files the user may have changed; once they exist they are never overwritten. A file whose own
// name contains one of these (case ignored) is protected.
inline constexpr std::array<std::string_view, 5> kProtectedFiles = {
    "PrintDB.mdb", "POS.ini", "posini.ini", "CONFIG.INI", "Swccfg.dat"};

// Programs that may be running while they are installed over.
inline constexpr std::array<std::string_view, 4> kGuardedPrograms = {
    "TessikOne商贸版服务器.exe", "TessikOne商贸版.exe", "TessikOne商贸试用版.exe", "scktsrvr.exe"};

inline constexpr char kCopyingCaption[] = "正在复制文件：";

// How long the placement waits, in all, for ended programs to let go of their files.
constexpr unsigned kProgramExitWaitMs = 5000;

struct [[nodiscard]] PlaceOutcome {
    Placement placement = Placement::Nothing;  // Written, Kept, Nothing, ReplacedAtRestart, Failed
    std::string reason;              // for Failed: the code the user was shown, "X001" or "X002"
    std::uint32_t system_error = 0;  // for Failed: the platform's error code of the last write
    std::uint64_t bytes = 0;         // for Written and ReplacedAtRestart: the bytes written
    std::string holders = {};        // the programs found holding the file, for the log
};

// Unpacks the resource (type, name) and writes it to target. An empty resource name does nothing.
// Errors of the resource (missing, damaged) pass to the caller as RuntimeError, and the target
// keeps what it held; write failures are reported to the user here and in the outcome.
// A file that a running program holds: the four guarded programs are asked about by their window;
// any other holder that runs from the installation folder (the file's own program, or one that has
// it loaded or open) is asked about by name; Yes ends it and writes again. What still cannot be
// written (a holder outside the folder, one that would not end, or one kept by an unattended run)
// is replaced at the next restart; the user's No in the wizard is reported as X002.
PlaceOutcome PlaceFile(InstallSession& session, std::string_view resource_name,
                       std::string_view resource_type, const std::string& target);

// PlaceFile in its three parts, for a caller that makes the first write elsewhere (on a thread of
// its own for a large entry). PrepareEntry: the outcome when nothing is to be written (no
// resource name, a protected file kept); else nothing, the name has been shown and the resource
// is there (a missing one throws).
std::optional<PlaceOutcome> PrepareEntry(InstallSession& session, std::string_view resource_name,
                                         std::string_view resource_type, const std::string& target);

// Thrown out of WriteEntry's content when stop was set: the write ends, the temporary file goes.
struct WriteStopped {};

// The first write: the entry unpacked into the file as it is written, never held in memory whole;
// bytes counts what was written. With stop (a write on another thread) the observer is not told
// of a large file, and a stop that is set ends the write with WriteStopped.
Result WriteEntry(InstallSession& session, std::string_view type, std::string_view name,
                  const std::string& target, std::uint64_t& bytes,
                  const std::atomic<bool>* stop = nullptr);

// The outcome of the first write: a success as it is; a failure leads, on the caller's thread, to
// the questions about running programs, the second write and the replacement at restart.
PlaceOutcome FinishEntry(InstallSession& session, std::string_view resource_name,
                         std::string_view resource_type, const std::string& target, Result write,
                         std::uint64_t bytes);

// A write this large takes long enough for its file's name to be seen: the window shows it at
// once, and a window's run writes it on a thread of its own.
constexpr std::uint64_t kLongCopyBytes = 1u << 20;

// Whether a file at target is one the user may have changed (its own name holds a protected one).
bool IsProtectedName(std::string_view target);

// True when a top-level window has name (a file name without extension) as its whole title,
// ASCII case ignored.
bool IsProgramRunning(const Processes& processes, std::string_view name);

// Ends every process whose executable is the file at path (ASCII case ignored), and returns the
// ids it ended. Processes of the same name started from elsewhere are left alone.
std::vector<std::uint32_t> KillProgram(Processes& processes, std::string_view path);

}  // namespace setup
