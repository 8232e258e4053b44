#include "app/command_line.h"

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

// Applies one switch; false with a problem when it is unknown or malformed.
bool Apply(const Switch& s, CommandLine& line, std::string& problem) {
    const bool flag = !s.value.has_value();
    if ((s.name == "S" || s.name == "VERYSILENT") && flag) {
        line.mode = RunMode::VerySilent;
    } else if (s.name == "SILENT" && flag) {
        if (line.mode != RunMode::VerySilent) line.mode = RunMode::Silent;
    } else if ((s.name == "DIR" || s.name == "D") && s.value && !text::Trim(*s.value).empty()) {
        // "/D=..." in quotes, as some tools write it, is /DIR.
        line.folder = std::string(text::Trim(*s.value));
    } else if (s.name == "TASKS" && s.value) {
        line.tasks = ParseTasks(*s.value, problem);
        return line.tasks.has_value();
    } else if (s.name == "CLOSEAPPLICATIONS" && flag) {
        line.close_applications = true;
    } else if (s.name == "LOG" && (flag || !s.value->empty())) {
        line.log_file = s.value.value_or("");
    } else if ((s.name == "?" || s.name == "HELP") && flag) {
        line.help = true;
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
        // NSIS's /D= takes the rest of the line as it stands.
        if (rest.size() >= 3 && text::AsciiUpper(rest.substr(0, 3)) == "/D=") {
            const std::string_view folder = text::Trim(rest.substr(3));
            if (folder.empty())
                refuse("/D= gives no folder");
            else
                parse.line.folder = std::string(folder);
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

std::string_view ArgumentsOf(std::string_view command_line) {
    std::size_t i = 0;
    if (!command_line.empty() && command_line.front() == '"') {
        i = command_line.find('"', 1);
        i = i == std::string_view::npos ? command_line.size() : i + 1;
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

}  // namespace setup::app
