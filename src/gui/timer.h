// A message timer of a form: while enabled, the form's message loop calls OnTimer every Interval
// milliseconds. An exception that leaves OnTimer is shown in a message box; the timer goes on.
#pragma once

#include <windows.h>

#include <functional>

namespace setup::gui {

class Form;

class Timer {
public:
    explicit Timer(Form& owner, UINT interval = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    // Enabling restarts the interval, also when the timer was enabled already.
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT milliseconds);

    std::function<void()> OnTimer;

    UINT_PTR Id() const { return id_; }
    // One tick, as the form's WM_TIMER runs it.
    void Tick();

private:
    void Update();

    Form& owner_;
    UINT_PTR id_;
    UINT interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
};

}  // namespace setup::gui
