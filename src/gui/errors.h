// Where errors that reach a fixed catch point of the window go (the README lists the catch
// points): by default the installer's message box with the error's text and the application
// title. Tests replace the reporter so no modal box ever waits for a person.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace setup::gui {

using ErrorReporter = std::function<void(HWND owner, const std::string& text)>;

// Replaces the reporter; an empty function restores the message box. Returns the previous one.
ErrorReporter SetErrorReporter(ErrorReporter reporter);
void ReportError(HWND owner, const std::string& text);

// Text of the exception being handled; for use inside a catch block only.
std::string CurrentExceptionText();

// Runs action; an exception that leaves it is reported with its text and goes no further.
template <typename Action>
void RunReportingErrors(HWND owner, Action&& action) {
    try {
        action();
    } catch (...) {
        ReportError(owner, CurrentExceptionText());
    }
}

// Runs action; an exception that leaves it is dropped without a word.
template <typename Action>
void RunDiscardingErrors(Action&& action) {
    try {
        action();
    } catch (...) {
    }
}

}  // namespace setup::gui
