// A chain of steps on the window's own thread, run as fast as the window lets it: after a step the
// next one follows at once, in the same message or through a message posted to the form, as long
// as no input waits and the message's work stays within its budget. Input, and whatever else is
// queued, is handled between two messages of the chain; the window is painted once per frame while
// the chain runs, not once per step. A step never starts while another runs: a question a step
// asks runs its own message loop, and the chain posts nothing until the step has returned.
#pragma once

#include <windows.h>

#include <functional>

namespace setup::gui {

class Form;
class Timer;

// Posted to the form for the chain's next message.
inline constexpr UINT kStepChainMessage = WM_APP + 0x102;

class StepChain {
public:
    // starter: the form's timer that brings the first message, and the next one after input (a
    // timer's message comes after input and paint, so the chain never crowds them out). budget_ms:
    // how long one message may keep stepping.
    StepChain(Form& owner, Timer& starter, double budget_ms);
    StepChain(const StepChain&) = delete;
    StepChain& operator=(const StepChain&) = delete;

    // One step; true while more remain. An exception that leaves it is shown in a message box and
    // ends the chain.
    std::function<bool()> OnStep;
    // At the end of each of the chain's messages, before anything is painted: for what the steps
    // leave to show once rather than at every step.
    std::function<void()> OnPause;

    void Start();
    // No step runs after this one returns, also for a message already posted.
    void Stop();
    bool Running() const { return running_; }

    // One message of the chain, as the form's timer or the posted message runs it.
    void Run();

private:
    // Steps until the budget is used, input waits or nothing remains; true while more remain.
    bool StepWithinBudget();
    void PaintIfFrameDue();
    void ScheduleNext();

    Form& owner_;
    Timer& starter_;
    const double budget_ms_;
    bool running_ = false;
    LARGE_INTEGER last_paint_{};
    double paint_ms_ = 0;  // what the last paint took
};

// Whether the thread's queue holds input (keys, mouse) or a due timer: the chain then leaves the
// queue to the window before its next step.
bool InputWaiting();

// Milliseconds of the performance counter from one reading to another.
double MillisecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to);

}  // namespace setup::gui
