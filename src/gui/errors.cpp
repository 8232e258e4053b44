#include "gui/errors.h"

#include <new>
#include <utility>

#include "platform/application_title.h"
#include "platform/win32/message_box.h"

namespace setup::gui {

namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
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
    win32::ShowMessageBox(owner, text, kApplicationTitle, MB_OK | MB_ICONSTOP, false);
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
