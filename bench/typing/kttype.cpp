// The floor for typing: brings a window to the front and sends the same key events the bar
// sends for a text, one plain keybd_event (or a single Unicode SendInput) per event; with a
// delay, the events of one key stroke, then a pause, as the bar's slowed-down typing does.
//   kttype WINDOW-TITLE TEXT-FILE EOL [DELAY-MS]
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "app/core/TypingPlan.h"
#include "platform/Win32KeyboardLayout.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        fputs("usage: kttype WINDOW-TITLE TEXT-FILE EOL [DELAY-MS]\n", stderr);
        return 2;
    }
    HWND target = FindWindowA(nullptr, argv[1]);
    if (!target) return 1;
    std::ifstream in(argv[2], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const DWORD delay = argc > 4 ? strtoul(argv[4], nullptr, 10) : 0;
    kt::Win32KeyboardLayout layout(GetKeyboardLayout(GetWindowThreadProcessId(target, nullptr)));
    const auto plan = kt::PlanStrokes(text, layout, atoi(argv[3]));
    SetForegroundWindow(target);
    for (const auto& stroke : plan.strokes) {
        for (const kt::KeyEvent& e : stroke) {
            if (e.unicode) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wScan = e.code;
                input.ki.dwFlags = KEYEVENTF_UNICODE | (e.up ? KEYEVENTF_KEYUP : 0);
                SendInput(1, &input, sizeof input);
            } else {
                keybd_event(static_cast<BYTE>(e.code), 1, e.up ? KEYEVENTF_KEYUP : 0, 0);
            }
        }
        if (delay) Sleep(delay);
    }
    return 0;
}
