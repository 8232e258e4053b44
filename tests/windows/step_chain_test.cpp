// The chain that steps the run on the window's thread: it runs to its end without a timer's wait
// per step, lets queued messages through between its messages, never starts a step inside
// another, and stops for good on Stop or on a step's error.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/form.h"
#include "gui/step_chain.h"
#include "gui/timer.h"
#include "platform/error.h"
#include "window_test_support.h"

namespace setup::gui {
namespace {

constexpr UINT kProbeMessage = WM_APP + 0x201;

// Pumps until done or a few seconds have passed, and counts the chain's timer ticks.
template <typename Done>
bool PumpUntil(const Timer& timer, Done done, int& ticks) {
    const ULONGLONG end = GetTickCount64() + 5000;
    MSG message;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.wParam == timer.Id()) ++ticks;
            DispatchMessageA(&message);
        }
        Sleep(1);
    }
    return true;
}

struct ChainTest : ::testing::Test {
    Form form{"chain"};
    Timer starter{form, 10, false};
    StepChain chain{form, starter, 10.0};
    ChainTest() { starter.OnTimer = [this] { chain.Run(); }; }
    int steps = 0;
    int ticks = 0;
};

// A thousand steps would wait ten seconds on a 10 ms timer: the chain needs the first tick alone.
TEST_F(ChainTest, RunsEveryStepToTheEndWithoutATickPerStep) {
    chain.OnStep = [&] { return ++steps < 1000; };
    chain.Start();
    ASSERT_TRUE(PumpUntil(starter, [&] { return !chain.Running(); }, ticks));
    EXPECT_EQ(steps, 1000);
    EXPECT_LE(ticks, 2);
    EXPECT_FALSE(starter.Enabled());
}

// A message queued by a step (a click would be one) is handled before the chain's next message:
// long before the last step.
TEST_F(ChainTest, AQueuedMessageIsHandledBetweenTheChainsMessages) {
    int handled_at = -1;
    Form other("other");
    chain.OnStep = [&] {
        Sleep(1);
        if (++steps == 5) PostMessageA(other.Handle(), kProbeMessage, 0, 0);
        return steps < 200;
    };
    chain.Start();
    const ULONGLONG end = GetTickCount64() + 10000;
    MSG message;
    while (chain.Running() && GetTickCount64() < end) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        if (message.message == kProbeMessage) handled_at = steps;
        DispatchMessageA(&message);
    }
    EXPECT_EQ(steps, 200);
    ASSERT_GE(handled_at, 5);
    EXPECT_LT(handled_at, 100);
}

// A step that runs a message loop of its own (a question in a message box) never sees a second
// step start inside it.
TEST_F(ChainTest, AStepsOwnMessageLoopStartsNoSecondStep) {
    int depth = 0, deepest = 0;
    chain.OnStep = [&] {
        deepest = std::max(deepest, ++depth);
        if (steps % 10 == 3) {
            const ULONGLONG until = GetTickCount64() + 30;
            while (GetTickCount64() < until) testing::PumpMessages();
        }
        --depth;
        return ++steps < 40;
    };
    chain.Start();
    ASSERT_TRUE(PumpUntil(starter, [&] { return !chain.Running(); }, ticks));
    EXPECT_EQ(steps, 40);
    EXPECT_EQ(deepest, 1);
}

TEST_F(ChainTest, NoStepRunsAfterStopAlsoFromAMessageAlreadyQueued) {
    chain.OnStep = [&] {
        Sleep(2);
        return ++steps < 1000;
    };
    chain.Start();
    ASSERT_TRUE(PumpUntil(starter, [&] { return steps >= 20; }, ticks));
    chain.Stop();
    const int stopped_at = steps;
    Sleep(30);
    testing::PumpMessages();
    EXPECT_EQ(steps, stopped_at);
    EXPECT_FALSE(chain.Running());
    EXPECT_FALSE(starter.Enabled());
}

TEST_F(ChainTest, AStepsErrorIsShownOnceAndEndsTheChain) {
    testing::CapturedErrors errors;
    chain.OnStep = [&] {
        if (++steps == 3) throw setup::StreamReadError();
        return true;
    };
    chain.Start();
    ASSERT_TRUE(PumpUntil(starter, [&] { return !chain.Running(); }, ticks));
    Sleep(30);
    testing::PumpMessages();
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(errors.texts, std::vector<std::string>{"Stream read error"});
}

}  // namespace
}  // namespace setup::gui
