#include "gui/errors.h"

#include <new>
#include <utility>

namespace setup::gui {

namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}

std::string& Title() {
    static std::string title;
    return title;
}

}  // namespace

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
    return std::exchange(Reporter(), std::move(reporter));
}

void ReportError(HWND owner, const std::string& text) {
    if (Reporter()) {
        Reporter()(owner, text);
        return;
    }
    MessageBoxA(owner, text.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

void SetApplicationTitle(std::string title) {
    Title() = std::move(title);
}
const std::string& ApplicationTitle() {
    return Title();
}

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Error";
    }
}

}  // namespace setup::gui
