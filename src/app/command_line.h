// The installer's command line, for deployment tools: which way it runs, where it installs, what
// it links, whether it may end running programs, and where it logs. Switches are case-insensitive,
// as Windows users type them; anything unknown or malformed is refused, never ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "install/exit_code.h"
#include "install/install_observer.h"

namespace setup::app {

enum class RunMode {
    Wizard,      // the four pages
    Silent,      // /SILENT: no pages, a progress window that cannot be cancelled by accident
    VerySilent,  // /S, /VERYSILENT: no window at all
};

struct CommandLine {
    RunMode mode = RunMode::Wizard;
    std::optional<std::string> folder;    // /D=path, /DIR="path"
    std::optional<InstallOptions> tasks;  // /TASKS="desktop,quicklaunch,autostart"
    bool close_applications = false;      // /CLOSEAPPLICATIONS
    std::optional<std::string> log_file;  // /LOG="file"; "" for /LOG alone: the default place
    bool help = false;                    // /? or /HELP
    // What Inno-style deployment sends. /SP- is accepted and changes nothing (there is no
    // "This will install..." question to skip).
    bool no_cancel = false;               // /NOCANCEL: copying cannot be cancelled
    bool suppress_message_boxes = false;  // /SUPPRESSMSGBOXES: questions take their unattended
                                          // answer, messages go to the log alone
    bool no_restart = false;  // /NORESTART: the installer never restarts the machine (it never
                              // does); files in use are replaced at the next restart (3010)
    std::optional<int> restart_exit_code;  // /RESTARTEXITCODE=n: the code instead of 3010
};

struct CommandLineParse {
    CommandLine line;     // every switch that could be read, also when the line was refused
    std::string problem;  // why the line was refused: the first bad switch; "" when it was not
    bool Refused() const { return !problem.empty(); }
};

// The arguments after the program's name (GetCommandLine without its first word). /D= must come
// last: it takes the rest of the line, blanks included, without quotes, as NSIS does; a /D= value
// in which one of the switches follows a blank is refused, as is a folder, a log or a task list
// given twice.
CommandLineParse ParseCommandLine(std::string_view arguments);

// The command line as GetCommandLine gives it, without the program's name. A quoted name ends at
// its closing quote. An unquoted one may hold blanks (a launcher that gave CreateProcess the
// program alone): like the system, which tries the words up to each blank in turn, the name is the
// shortest such start that names module_path (the running program's file, GetModuleFileName),
// in full or as its tail after a backslash, with or without ".exe"; failing that, the first word.
std::string_view ArgumentsOf(std::string_view command_line, std::string_view module_path = {});

// The switches and the exit codes, as /? shows them.
std::string HelpText();

// The process's exit code for how the run ended, as the command line asks for it.
int ProcessExitCode(ExitCode code, const CommandLine& line);

}  // namespace setup::app
