// The command line as deployment tools write it: every switch in any case, quoting, NSIS's /D=
// with blanks, and anything unknown refused.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include "install/exit_code.h"

namespace setup::app {
namespace {

CommandLine Parsed(std::string_view arguments) {
    CommandLineParse parse = ParseCommandLine(arguments);
    EXPECT_FALSE(parse.Refused()) << arguments << ": " << parse.problem;
    return parse.line;
}

std::string Problem(std::string_view arguments) {
    return ParseCommandLine(arguments).problem;
}

TEST(CommandLine, EverySwitchInAnyCase) {
    EXPECT_EQ(Parsed("").mode, RunMode::Wizard);
    EXPECT_EQ(Parsed("/s").mode, RunMode::VerySilent);
    EXPECT_EQ(Parsed("/VerySilent").mode, RunMode::VerySilent);
    EXPECT_EQ(Parsed("/SILENT").mode, RunMode::Silent);
    EXPECT_EQ(Parsed("/silent /S").mode, RunMode::VerySilent);  // the stronger one wins
    EXPECT_EQ(Parsed("/S /silent").mode, RunMode::VerySilent);
    EXPECT_TRUE(Parsed("/closeapplications").close_applications);
    EXPECT_TRUE(Parsed("/?").help);
    EXPECT_TRUE(Parsed("/Help").help);
    EXPECT_EQ(Parsed("/LOG").log_file, "");
    EXPECT_EQ(Parsed("/log=\"C:\\my logs\\setup.log\"").log_file, "C:\\my logs\\setup.log");
    EXPECT_EQ(Parsed("/DIR=C:\\App").folder, "C:\\App");
    EXPECT_EQ(Parsed("/dir=\"C:\\Program Files\\软件\"").folder, "C:\\Program Files\\软件");
}

TEST(CommandLine, TasksAreExactlyTheOnesListed) {
    EXPECT_FALSE(Parsed("/S").tasks);
    EXPECT_EQ(Parsed("/TASKS=\"desktop\"").tasks, (InstallOptions{true, false, false}));
    EXPECT_EQ(Parsed("/tasks=\" AutoStart , QUICKLAUNCH \"").tasks,
              (InstallOptions{false, true, true}));
    EXPECT_EQ(Parsed("/TASKS=\"\"").tasks, (InstallOptions{false, false, false}));
    EXPECT_EQ(Parsed("/TASKS=desktop,quicklaunch,autostart").tasks, InstallOptions{});
    EXPECT_EQ(Problem("/TASKS=\"desktop,startmenu\""), "unknown task \"startmenu\"");
}

// As in NSIS, /D= is last and takes the rest of the line as it stands, blanks included.
TEST(CommandLine, SlashDTakesTheRestOfTheLineWithItsBlanks) {
    const CommandLine line = Parsed("/S /TASKS=\"\" /D=C:\\Program Files\\Tessik 软件  ");
    EXPECT_EQ(line.folder, "C:\\Program Files\\Tessik 软件");
    EXPECT_EQ(line.mode, RunMode::VerySilent);
    EXPECT_EQ(Parsed("/d=D:\\x /Sales").folder, "D:\\x /Sales");  // a word that is no switch
    EXPECT_EQ(Parsed("\"/D=C:\\a b\"").folder, "C:\\a b");  // quoted whole, as some tools do
    EXPECT_EQ(Problem("/D="), "/D= gives no folder");
}

// A /D= that is not last would swallow the switches after it: /S among them, the run would wait
// on a wizard nobody sees. A setting given twice is refused too, instead of the last one winning.
TEST(CommandLine, SwitchesAfterSlashDAndSettingsGivenTwiceAreRefused) {
    EXPECT_EQ(Problem("/D=C:\\x /S"), "/D= must come last: \"/S\" follows it");
    EXPECT_EQ(Problem("/D=C:\\a b /log=\"C:\\x.log\" /tasks=\"\""),
              "/D= must come last: \"/log=\"C:\\x.log\"\" follows it");
    EXPECT_EQ(Problem("/D=C:\\x\t/VerySilent"), "/D= must come last: \"/VerySilent\" follows it");
    EXPECT_EQ(Problem("/DIR=C:\\a /DIR=C:\\b"), "the folder is given twice (/D= or /DIR=)");
    EXPECT_EQ(Problem("/DIR=C:\\a /D=C:\\b"), "the folder is given twice (/D= or /DIR=)");
    EXPECT_EQ(Problem("/LOG /LOG=C:\\x.log"), "/LOG is given twice");
    EXPECT_EQ(Problem("/TASKS=\"\" /TASKS=desktop"), "/TASKS is given twice");
    EXPECT_EQ(Parsed("/S /S /SILENT").mode, RunMode::VerySilent);  // a mode may be repeated
}

// A refused line still says how to answer: silently, and to which log.
TEST(CommandLine, UnknownOrMalformedSwitchesAreRefusedNeverIgnored) {
    EXPECT_EQ(Problem("/S /Q"), "unknown or malformed switch \"/Q\"");
    EXPECT_EQ(Problem("/S=1"), "unknown or malformed switch \"/S=1\"");
    EXPECT_EQ(Problem("/DIR="), "unknown or malformed switch \"/DIR=\"");
    EXPECT_EQ(Problem("/LOG=\"\""), "unknown or malformed switch \"/LOG=\"");
    EXPECT_EQ(Problem("setup.log"), "unknown argument \"setup.log\"");
    EXPECT_EQ(Problem("/DIR=\"C:\\open"), "a quote is not closed");
    const CommandLineParse parse = ParseCommandLine("/VERYSILENT /bogus /LOG=C:\\x.log");
    EXPECT_TRUE(parse.Refused());
    EXPECT_EQ(parse.line.mode, RunMode::VerySilent);
    EXPECT_EQ(parse.line.log_file, "C:\\x.log");
}

// Unquoted, a program's path may hold blanks (a launcher that gave CreateProcess the program
// alone): the name is the start of the line that names the running program's file.
TEST(CommandLine, TheProgramsNameIsNotAnArgumentBlanksAndAll) {
    const char* module = "C:\\Down loads\\TessikSetup.exe";
    EXPECT_EQ(ArgumentsOf("\"C:\\Down loads\\TessikSetup.exe\" /S /D=C:\\a b", module),
              " /S /D=C:\\a b");
    EXPECT_EQ(ArgumentsOf("TessikSetup.exe /S"), " /S");
    EXPECT_EQ(ArgumentsOf("TessikSetup.exe"), "");
    EXPECT_EQ(ArgumentsOf("C:\\Down loads\\TessikSetup.exe", module), "");
    EXPECT_EQ(ArgumentsOf("C:\\Down loads\\TessikSetup.exe /S /D=C:\\a b", module),
              " /S /D=C:\\a b");
    EXPECT_EQ(ArgumentsOf("c:\\down LOADS\\tessiksetup /S", module), " /S");  // case, no .exe
    EXPECT_EQ(ArgumentsOf("loads\\TessikSetup.exe /S", module), " /S");  // relative to its folder
    EXPECT_EQ(ArgumentsOf("C:\\Down /S", module), " /S");  // names another program: first word
    EXPECT_TRUE(Parsed(ArgumentsOf("C:\\Down loads\\TessikSetup.exe", module)).mode ==
                RunMode::Wizard);
}

// What Inno-style deployment sends is read, never refused; /RESTARTEXITCODE= replaces 3010 alone.
TEST(CommandLine, TheSwitchesDeploymentToolsSendAreRead) {
    const CommandLine line = Parsed(
        "/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /NOCANCEL /RESTARTEXITCODE=3011 "
        "/LOG=\"C:\\x.log\" /DIR=\"C:\\Shop POS\"");
    EXPECT_EQ(line.mode, RunMode::VerySilent);
    EXPECT_TRUE(line.suppress_message_boxes);
    EXPECT_TRUE(line.no_restart);
    EXPECT_TRUE(line.no_cancel);
    EXPECT_EQ(line.folder, "C:\\Shop POS");
    EXPECT_EQ(ProcessExitCode(ExitCode::RestartNeeded, line), 3011);
    EXPECT_EQ(ProcessExitCode(ExitCode::Success, line), 0);
    EXPECT_EQ(ProcessExitCode(ExitCode::RestartNeeded, CommandLine{}), 3010);
    EXPECT_EQ(Problem("/RESTARTEXITCODE=x"), "/RESTARTEXITCODE= takes a number from 0 to 65535");
    EXPECT_EQ(Problem("/RESTARTEXITCODE=70000"),
              "/RESTARTEXITCODE= takes a number from 0 to 65535");
    EXPECT_EQ(Problem("/RESTARTEXITCODE=1 /RESTARTEXITCODE=2"), "/RESTARTEXITCODE is given twice");
    EXPECT_EQ(Problem("/NORESTART=1"), "unknown or malformed switch \"/NORESTART=1\"");
    EXPECT_EQ(Problem("/D=C:\\x /NORESTART"), "/D= must come last: \"/NORESTART\" follows it");
}

TEST(CommandLine, HelpListsTheSwitchesAndEveryExitCode) {
    const std::string help = HelpText();
    for (const char* part : {"/VERYSILENT", "/SILENT", "/D=", "/DIR=", "/TASKS=",
                             "/CLOSEAPPLICATIONS", "/LOG", "/HELP", "/SUPPRESSMSGBOXES",
                             "/NORESTART", "/RESTARTEXITCODE=", "/NOCANCEL", "/SP-"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
    for (ExitCode code : kExitCodes)
        EXPECT_NE(help.find("  " + std::to_string(static_cast<int>(code)) + "  "),
                  std::string::npos);
    EXPECT_EQ(WithLogStatus(ExitCode::Success, true), ExitCode::LogNotWritten);
    EXPECT_EQ(WithLogStatus(ExitCode::Incomplete, true), ExitCode::Incomplete);
    EXPECT_EQ(WithLogStatus(ExitCode::Success, false), ExitCode::Success);
}

}  // namespace
}  // namespace setup::app
