#include "gui/timer.h"

#include "gui/errors.h"
#include "gui/form.h"

namespace setup::gui {

namespace {
UINT_PTR NextTimerId() {
    static UINT_PTR next = 0x5E70;
    return ++next;
}
}  // namespace

Timer::Timer(Form& owner, UINT interval, bool enabled)
    : owner_(owner), id_(NextTimerId()), interval_(interval), enabled_(enabled) {
    owner_.AddTimer(*this);
    Update();
}

Timer::~Timer() {
    if (running_) KillTimer(owner_.Handle(), id_);
    owner_.RemoveTimer(*this);
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void Timer::SetInterval(UINT milliseconds) {
    interval_ = milliseconds;
    Update();
}

void Timer::Update() {
    if (running_) KillTimer(owner_.Handle(), id_);
    running_ = enabled_ && interval_ != 0 && owner_.Handle() &&
               SetTimer(owner_.Handle(), id_, interval_, nullptr) != 0;
}

void Timer::Tick() {
    if (!enabled_) return;  // a WM_TIMER already queued when the timer was disabled
    RunReportingErrors(owner_.Handle(), [&] {
        if (OnTimer) OnTimer();
    });
}

}  // namespace setup::gui
