#include "app/command_line.h"

#include <functional>
#include <vector>

#include "install/exit_code.h"
#include "platform/text.h"

namespace setup::app {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One switch as typed: its name (upper-cased) and its value, without quotes.
struct Switch {
    std::string name;
    std::optional<std::string> value;
};

// The next word: up to a blank outside quotes. Quotes are dropped; an open quote is refused.
std::optional<std::string> NextWord(std::string_view& rest, std::string& problem) {
    std::string word;
    bool quoted = false;
    std::size_t i = 0;
    for (; i < rest.size() && (quoted || !IsBlank(rest[i])); ++i) {
        if (rest[i] == '"')
            quoted = !quoted;
        else
            word += rest[i];
    }
    rest.remove_prefix(i);
    if (quoted) {
        problem = "a quote is not closed";
        return std::nullopt;
    }
    return word;
}

std::optional<InstallOptions> ParseTasks(std::string_view list, std::string& problem) {
    InstallOptions tasks{false, false, false};
    if (text::Trim(list).empty()) return tasks;
    for (std::string_view item : text::Split(list, ',')) {
        const std::string name = text::AsciiUpper(text::Trim(item));
        if (name == "DESKTOP")
            tasks.desktop_links = true;
        else if (name == "QUICKLAUNCH")
            tasks.quick_launch_link = true;
        else if (name == "AUTOSTART")
            tasks.autostart = true;
        else {
            problem = "unknown task \"" + std::string(text::Trim(item)) + "\"";
            return std::nullopt;
        }
    }
    return tasks;
}

// A decimal exit code of at most five digits, up to 65535.
std::optional<int> ParseExitCode(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 65535) return std::nullopt;
    return value;
}

constexpr char kFolderTwice[] = "the folder is given twice (/D= or /DIR=)";

// A setting given a second time is refused: which of the two was meant cannot be known.
template <typename T>
bool Repeated(const std::optional<T>& field, const char* what, std::string& problem) {
    if (field) problem = what;
    return field.has_value();
}

// Whether a word is one of the switches, with or without a value: what must never be taken for
// part of a /D= folder.
bool IsOwnSwitch(std::string_view word) {
    if (word.size() < 2 || word.front() != '/') return false;
    const std::string name = text::AsciiUpper(word.substr(1, word.find('=') - 1));
    for (const char* own :
         {"S", "VERYSILENT", "SILENT", "D", "DIR", "TASKS", "CLOSEAPPLICATIONS", "LOG", "?", "HELP",
          "SP-", "NOCANCEL", "SUPPRESSMSGBOXES", "NORESTART", "RESTARTEXITCODE"})
        if (name == own) return true;
    return false;
}

// NSIS's /D= takes the rest of the line as it stands; a switch after a blank in it was meant as
// a switch (a /D= that is not last), and taking it into the folder would drop it unseen.
void ApplyRestAsFolder(std::string_view rest, CommandLine& line,
                       const std::function<void(const std::string&)>& refuse) {
    const std::string_view folder = text::Trim(rest);
    if (folder.empty()) return refuse("/D= gives no folder");
    for (std::size_t blank = folder.find_first_of(" \t"); blank != std::string_view::npos;
         blank = folder.find_first_of(" \t", blank + 1)) {
        std::string_view word = folder.substr(blank + 1);
        word = word.substr(0, word.find_first_of(" \t"));
        if (IsOwnSwitch(word))
            return refuse("/D= must come last: \"" + std::string(word) + "\" follows it");
    }
    if (line.folder) return refuse(kFolderTwice);
    line.folder = std::string(folder);
}

// Applies one switch; false with a problem when it is unknown or malformed.
bool Apply(const Switch& s, CommandLine& line, std::string& problem) {
    const bool flag = !s.value.has_value();
    if ((s.name == "S" || s.name == "VERYSILENT") && flag) {
        line.mode = RunMode::VerySilent;
    } else if (s.name == "SILENT" && flag) {
        if (line.mode != RunMode::VerySilent) line.mode = RunMode::Silent;
    } else if ((s.name == "DIR" || s.name == "D") && s.value && !text::Trim(*s.value).empty()) {
        // "/D=..." in quotes, as some tools write it, is /DIR.
        if (Repeated(line.folder, kFolderTwice, problem)) return false;
        line.folder = std::string(text::Trim(*s.value));
    } else if (s.name == "TASKS" && s.value) {
        if (Repeated(line.tasks, "/TASKS is given twice", problem)) return false;
        line.tasks = ParseTasks(*s.value, problem);
        return line.tasks.has_value();
    } else if (s.name == "CLOSEAPPLICATIONS" && flag) {
        line.close_applications = true;
    } else if (s.name == "LOG" && (flag || !s.value->empty())) {
        if (Repeated(line.log_file, "/LOG is given twice", problem)) return false;
        line.log_file = s.value.value_or("");
    } else if ((s.name == "?" || s.name == "HELP") && flag) {
        line.help = true;
    } else if (s.name == "SP-" && flag) {
    } else if (s.name == "NOCANCEL" && flag) {
        line.no_cancel = true;
    } else if (s.name == "SUPPRESSMSGBOXES" && flag) {
        line.suppress_message_boxes = true;
    } else if (s.name == "NORESTART" && flag) {
        line.no_restart = true;
    } else if (s.name == "RESTARTEXITCODE" && s.value) {
        if (Repeated(line.restart_exit_code, "/RESTARTEXITCODE is given twice", problem))
            return false;
        line.restart_exit_code = ParseExitCode(*s.value);
        if (!line.restart_exit_code) problem = "/RESTARTEXITCODE= takes a number from 0 to 65535";
        return line.restart_exit_code.has_value();
    } else {
        problem =
            "unknown or malformed switch \"/" + s.name + (s.value ? "=" + *s.value : "") + "\"";
        return false;
    }
    return true;
}

}  // namespace

// Reads every switch, so that a refused line still tells how to answer (silently or not) and
// where to log; the first problem is the one reported.
CommandLineParse ParseCommandLine(std::string_view rest) {
    CommandLineParse parse;
    auto refuse = [&parse](const std::string& problem) {
        if (parse.problem.empty()) parse.problem = problem.empty() ? "malformed" : problem;
    };
    for (;;) {
        while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
        if (rest.empty()) break;
        std::string problem;
        if (rest.size() >= 3 && text::AsciiUpper(rest.substr(0, 3)) == "/D=") {
            ApplyRestAsFolder(rest.substr(3), parse.line, refuse);
            break;
        }
        std::optional<std::string> word = NextWord(rest, problem);
        if (!word) {
            refuse(problem);
            break;
        }
        if (word->empty() || word->front() != '/') {
            refuse("unknown argument \"" + *word + "\"");
            continue;
        }
        Switch s;
        const std::size_t equals = word->find('=');
        s.name = text::AsciiUpper(
            word->substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
        if (equals != std::string::npos) s.value = word->substr(equals + 1);
        if (!Apply(s, parse.line, problem)) refuse(problem);
    }
    return parse;
}

namespace {

// Whether name, as a program was started by it, names the module's file.
bool NamesModule(std::string_view name, std::string_view module_path) {
    auto names = [&](std::string_view path) {
        if (text::EqualsIgnoreAsciiCase(name, path)) return true;
        return path.size() > name.size() && path[path.size() - name.size() - 1] == '\\' &&
               text::EqualsIgnoreAsciiCase(name, path.substr(path.size() - name.size()));
    };
    constexpr std::string_view kExe = ".exe";
    const bool has_exe =
        module_path.size() > kExe.size() &&
        text::EqualsIgnoreAsciiCase(module_path.substr(module_path.size() - kExe.size()), kExe);
    return names(module_path) ||
           (has_exe && names(module_path.substr(0, module_path.size() - kExe.size())));
}

}  // namespace

std::string_view ArgumentsOf(std::string_view command_line, std::string_view module_path) {
    std::size_t i = 0;
    if (!command_line.empty() && command_line.front() == '"') {
        i = command_line.find('"', 1);
        i = i == std::string_view::npos ? command_line.size() : i + 1;
    } else if (!module_path.empty()) {
        for (std::size_t end = 0; end <= command_line.size(); ++end) {
            if (end < command_line.size() && !IsBlank(command_line[end])) continue;
            if (NamesModule(command_line.substr(0, end), module_path))
                return command_line.substr(end);
        }
    }
    while (i < command_line.size() && !IsBlank(command_line[i])) ++i;
    return command_line.substr(i);
}

std::string HelpText() {
    std::string text =
        "安装程序命令行参数（不区分大小写）：\r\n"
        "  /S 或 /VERYSILENT        不显示任何窗口，无人值守安装\r\n"
        "  /SILENT                  只显示进度窗口，无人值守安装\r\n"
        "  /D=路径                  安装目录；必须放在最后，可含空格，不加引号\r\n"
        "  /DIR=\"路径\"              安装目录（可加引号）\r\n"
        "  /TASKS=\"desktop,quicklaunch,autostart\"\r\n"
        "                           只勾选列出的选项；/TASKS=\"\" 全不勾选\r\n"
        "  /CLOSEAPPLICATIONS       程序正在运行时直接结束它，否则保留它\r\n"
        "  /LOG[=\"文件\"]            写安装日志（UTF-8）\r\n"
        "  /SUPPRESSMSGBOXES        不显示提问和消息，按无人值守方式回答\r\n"
        "  /NORESTART               从不重新启动；正在使用的文件在重新启动后替换（退出码 3010）\r\n"
        "  /RESTARTEXITCODE=n       需要重新启动时以 n 代替 3010 退出\r\n"
        "  /NOCANCEL                复制过程中不能取消\r\n"
        "  /SP-                     接受，无作用\r\n"
        "  /? 或 /HELP              显示本说明\r\n"
        "\r\n退出码：\r\n";
    for (ExitCode code : kExitCodes)
        text.append("  ")
            .append(std::to_string(static_cast<int>(code)))
            .append("  ")
            .append(ExitCodeMeaning(code))
            .append("\r\n");
    return text;
}

int ProcessExitCode(ExitCode code, const CommandLine& line) {
    if (code == ExitCode::RestartNeeded && line.restart_exit_code) return *line.restart_exit_code;
    return static_cast<int>(code);
}

}  // namespace setup::app
