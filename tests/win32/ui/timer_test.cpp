// The timer component: ticks while enabled, stops when disabled, may be freed by its own tick.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/Application.h"
#include "ui/ExtCtrls.h"

using namespace kt::ui;

namespace {
// Runs the messages for `ms`; with `settle`, first lets a tick already queued arrive.
int TicksDuring(const int& ticks, DWORD ms, bool settle = false) {
    auto pump = [](DWORD span) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < span; Sleep(2))
            TApplication::Instance().ProcessMessages();
    };
    if (settle) pump(30);
    const int before = ticks;
    pump(ms);
    return ticks - before;
}
}  // namespace

TEST(Timer, TicksWhileEnabledAndStopsWhenDisabledOrWithoutInterval) {
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    int ticks = 0;
    timer->OnTimer = [&] { ++ticks; };
    timer->SetInterval(10);
    EXPECT_GE(TicksDuring(ticks, 200), 3);
    timer->SetEnabled(false);
    EXPECT_EQ(TicksDuring(ticks, 150, true), 0);
    timer->SetEnabled(true);
    EXPECT_GE(TicksDuring(ticks, 200), 3);
    timer->SetInterval(0);
    EXPECT_EQ(TicksDuring(ticks, 150, true), 0);
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
    EXPECT_GE(TicksDuring(otherTicks, 200), 3);
    EXPECT_EQ(doomedTicks, 1);
    EXPECT_EQ(owner.ComponentCount(), 1);  // the freed timer left its owner
}
