#include "gui/step_chain.h"

#include <algorithm>

#include "gui/errors.h"
#include "gui/form.h"
#include "gui/timer.h"

namespace setup::gui {

namespace {

// A display frame at 60 Hz: painting more often shows nothing more.
constexpr double kFrameMs = 16.0;
// How often the steps look for waiting input: far below what a person notices.
constexpr double kInputCheckMs = 1.0;

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

}  // namespace

double MillisecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

// The kinds named one by one: QS_INPUT of newer headers holds bits that Windows 7 refuses.
bool InputWaiting() {
    const DWORD kinds = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_TIMER;
    return HIWORD(GetQueueStatus(kinds)) != 0;
}

StepChain::StepChain(Form& owner, Timer& starter, double budget_ms)
    : owner_(owner), starter_(starter), budget_ms_(budget_ms) {
    owner_.OnStepChain = [this] { Run(); };
}

void StepChain::Start() {
    running_ = true;
    last_paint_ = Now();
    starter_.SetEnabled(true);
}

void StepChain::Stop() {
    running_ = false;
    starter_.SetEnabled(false);
}

void StepChain::Run() {
    if (!running_) return;  // a message posted or queued before Stop
    // Nothing brings another message while this one steps, also while a step's question is open.
    starter_.SetEnabled(false);
    bool more = false;
    RunReportingErrors(owner_.Handle(), [&] {
        more = StepWithinBudget();
        if (OnPause) OnPause();
    });
    if (!more || !running_) {
        running_ = false;
        return;
    }
    PaintIfFrameDue();
    ScheduleNext();
}

// The queue is asked about input once a millisecond, not after every step: under Wine each
// question is a call to the server, which costs as much as a small file's step.
bool StepChain::StepWithinBudget() {
    const LARGE_INTEGER start = Now();
    double asked_at = 0;
    for (;;) {
        if (!OnStep || !OnStep()) return false;
        if (!running_) return true;
        const double elapsed = MillisecondsBetween(start, Now());
        if (elapsed >= budget_ms_) return true;
        if (elapsed - asked_at < kInputCheckMs) continue;
        asked_at = elapsed;
        if (InputWaiting()) return true;
    }
}

// A posted message comes before paint in the queue: the chain paints what changed itself, once
// a frame, and where painting is slow (a loaded machine) less often, so it never takes more than
// a fifth of the time.
void StepChain::PaintIfFrameDue() {
    const LARGE_INTEGER now = Now();
    if (MillisecondsBetween(last_paint_, now) < std::max(kFrameMs, 4 * paint_ms_)) return;
    RedrawWindow(owner_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    last_paint_ = Now();
    paint_ms_ = MillisecondsBetween(now, last_paint_);
}

// A posted message would come before waiting input again and again: with input waiting, the
// timer brings the next message once the input has been handled.
void StepChain::ScheduleNext() {
    if (InputWaiting() || !PostMessageA(owner_.Handle(), kStepChainMessage, 0, 0))
        starter_.SetEnabled(true);
}

}  // namespace setup::gui
