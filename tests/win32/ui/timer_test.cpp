// The timer component: ticks while enabled, stops when disabled, may be freed by its own tick.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/Application.h"
#include "ui/ExtCtrls.h"

using namespace kt::ui;

namespace {
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        TApplication::Instance().ProcessMessages();
        Sleep(2);
    }
}
}  // namespace

TEST(Timer, TicksWhileEnabledAndStopsWhenDisabled) {
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    EXPECT_TRUE(timer->Enabled());
    int ticks = 0;
    timer->OnTimer = [&] { ++ticks; };
    timer->SetInterval(10);
    PumpFor(200);
    EXPECT_GE(ticks, 3);

    timer->SetEnabled(false);
    PumpFor(30);  // a tick already queued may still come
    const int stopped = ticks;
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);

    timer->SetEnabled(true);
    PumpFor(200);
    EXPECT_GT(ticks, stopped);

    timer->SetInterval(0);  // no interval: no ticks, though enabled
    PumpFor(30);
    const int idle = ticks;
    PumpFor(150);
    EXPECT_EQ(ticks, idle);
}

TEST(Timer, AHandlerMayFreeItsOwnTimerAndOthersTickOn) {
    TComponent owner(nullptr);
    auto* doomed = new TTimer(&owner);
    auto* other = new TTimer(&owner);
    int doomedTicks = 0, otherTicks = 0;
    doomed->SetInterval(5);
    doomed->OnTimer = [&doomedTicks, &doomed] {
        delete doomed;
        doomed = nullptr;
        ++doomedTicks;  // after the delete: the closure must still be alive
    };
    other->SetInterval(5);
    other->OnTimer = [&] { ++otherTicks; };
    PumpFor(200);
    EXPECT_EQ(doomedTicks, 1);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);  // the freed timer left its owner
    EXPECT_GE(otherTicks, 3);
}
