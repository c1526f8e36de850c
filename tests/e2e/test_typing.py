"""The main job: schemes on the bar, Ctrl+T on a target, a click types the button's text."""
import os
import time
import unittest

from ktharness import App, capture, BASE_KEY, Prefix, Target, pointer_click, pointer_to, unescape, wait_for, write_scheme, xdo, xkey

PRINTABLE = "".join(chr(c) for c in range(32, 127))


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class TypingTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")

    def tearDown(self):
        self.app.stop()

    def buttons(self, bar):
        return self.app.scheme_buttons(bar)

    def capture(self, target_focus):
        capture(target_focus)

    def assert_nothing_typed_into(self, target, marker="x", seen=None):
        """Nothing reached the target: a key the user types into it now is all it holds. The
        key's arrival is the signal that anything sent before it would have arrived too."""
        target.click_in()
        xkey(marker)
        wait_for(lambda: target.text(), what="the marker key")
        self.assertEqual(target.settled_text(quiet=0.3), seen if seen is not None else marker)

    def test_a_click_types_the_text_then_the_end_of_line_action(self):
        write_scheme(self.data, "button", [("Ascii", PRINTABLE), ("Letters", "caf\u00e9 Stra\u00dfe \u00c4\u00d6\u00dc \u00a7 \u00b5")], 1)
        target = Target(self.prefix)
        bar = self.app.start()
        buttons = {b.text: b for b in self.buttons(bar)}
        self.assertEqual(sorted(buttons), ["Ascii", "Letters"])
        # 140, 50 for the first button and 32 for each further one, and what the instruction
        # label grew, is the bar's height under the system frame (27 of it frame and caption);
        # the skinned frame keeps that client area.
        self.assertEqual(self.app.bar().client_height, 140 + 50 + 32 + self.app.label_growth() - 27)

        self.capture(target.click_in)
        pointer_click(buttons["Ascii"])
        self.assertEqual(target.settled_text(), PRINTABLE + "\r\n")

        target.clear()
        pointer_click(buttons["Letters"])
        self.assertEqual(target.settled_text(), "caf\u00e9 Stra\u00dfe \u00c4\u00d6\u00dc \u00a7 \u00b5\r\n")

    def test_the_first_characters_arrive_after_a_real_click(self):
        # A click used to activate the bar, and the first key events of the burst went to it.
        texts = ["abcdefghij klmnop", "12345 67890", "The quick brown fox", "#!x Y"]
        write_scheme(self.data, "button", [("T%d" % i, t) for i, t in enumerate(texts)], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        buttons = sorted(self.buttons(bar), key=lambda b: b.top)
        for i, text in enumerate(texts):
            target.clear()
            self.capture(target.click_in)
            pointer_click(buttons[i])
            self.assertEqual(target.settled_text(quiet=0.5), text)
            # The bar never took the focus.
            self.assertEqual(int(self.prefix.drive("foreground").strip()), target.hwnd)

    def test_tab_and_no_action_end_the_text_differently(self):
        write_scheme(self.data, "button", [("One", "abc")], 2)
        write_scheme(self.data, "plain", [("Two", "xyz")], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.click_in)
        pointer_click(self.buttons(bar)[0])
        # A multi-line edit box takes a Tab as a character.
        self.assertEqual(target.settled_text(), "abc\t")

        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        # The chooser lists the folder in its enumeration order: pick "plain" where it stands.
        items = [unescape(l) for l in self.prefix.drive("items", combo.hwnd).splitlines()]
        self.assertEqual(sorted(items), ["button", "plain"])
        self.app.choose(combo.hwnd, "plain")
        wait_for(lambda: [b.text for b in self.buttons(self.app.bar())] == ["Two"], what="the plain scheme")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "plain.dat")
        target.clear()
        self.capture(target.click_in)
        pointer_click(self.buttons(self.app.bar())[0])
        self.assertEqual(target.settled_text(), "xyz")

    def test_ctrl_t_in_the_programs_own_windows_is_refused_at_once(self):
        write_scheme(self.data, "button", [("One", "abc")], 1)
        target = Target(self.prefix)
        bar = self.app.start()
        self.app.bar_aside()
        bar = self.app.bar()
        label = next(c for c in self.app.children(bar.hwnd) if c.text.startswith("Press Ctrl+T"))
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        for window, x, y in ((bar, (label.left + label.right) // 2, (label.top + label.bottom) // 2),
                             (cfg, cfg.right - 150, cfg.top + 10)):  # the configuration window's caption
            self.capture(lambda: self.app.to_front(window, x, y))
            box = self.app.wait_dialog()
            self.assertEqual(" ".join(box["texts"]), "Ctrl+T was pressed in one of Ketravo's own windows, which "
                             "Ketravo cannot type into. Press Ctrl+T on the Window where you want the typing to appear.")
            self.app.click_answer(box, "OK")
        # Nothing was captured: a click says so and types nothing.
        pointer_click(self.buttons(bar)[0])
        box = self.app.wait_dialog()
        self.assertIn("Press Ctrl+T", " ".join(box["texts"]))
        self.assertIn("Target window: 0", " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        self.assert_nothing_typed_into(target)

    def test_ctrl_t_held_or_repeated_in_an_own_window_gives_one_box(self):
        write_scheme(self.data, "button", [("One", "abc")], 1)
        self.app.start()
        self.app.bar_aside()
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        # Held 2.5 s, and pressed 30 times 33 ms apart.
        for keys in (("keydown", "ctrl+t", "sleep", 2.5, "keyup", "ctrl+t"), ("key", "--delay", 33) + ("ctrl+t",) * 30):
            self.app.to_front(cfg, cfg.right - 150, cfg.top + 10)
            time.sleep(0.3)
            xdo(*keys)
            self.app.click_answer(self.app.wait_dialog(), "OK")
            time.sleep(1)
            self.assertEqual(self.app.dialogs(), [], keys[0])

    def test_a_target_closed_since_ctrl_t_gets_the_message_and_nobody_gets_keys(self):
        write_scheme(self.data, "button", [("Pass", "secret-password")], 1)
        closed = Target(self.prefix, title="Target To Close")
        other = Target(self.prefix)
        self.prefix.drive("move", other.hwnd, 60, 420, 300, 200)
        bar = self.app.start()
        self.capture(closed.click_in)
        self.app.close_with_keys(self.app.find(title=closed.title))
        wait_for(lambda: not self.prefix.drive("find", closed.title, check=False).strip(), what="the close")
        other.click_in()  # the user works in another window
        time.sleep(0.3)
        pointer_click(self.buttons(bar)[0])
        box = self.app.wait_dialog()
        self.assertIn("Press Ctrl+T", " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        self.assert_nothing_typed_into(other)

    def test_a_minimised_target_is_restored_and_typed_into(self):
        write_scheme(self.data, "button", [("One", "Back From The Taskbar")], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.click_in)
        xdo("getactivewindow", "windowminimize")  # the window manager minimises the window in front
        wait_for(lambda: self.app.find(title=Target.TITLE, visible=False).state == 1, what="the minimised target")
        pointer_click(self.buttons(bar)[0])
        self.assertEqual(target.settled_text(), "Back From The Taskbar")
        self.assertEqual(self.app.find(title=Target.TITLE).state, 0)

    def test_a_bar_button_pressed_with_the_keyboard_types_into_the_target(self):
        write_scheme(self.data, "button", [("One", "Typed By Key")], 1)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.click_in)
        self.app.bar_aside()  # nothing of the target's or the configuration window over it
        bar = self.app.bar()
        button = self.buttons(bar)[0]
        # The user clicks the bar where there is no button, which brings it forward, then
        # tabs to the button and presses Space.
        pointer_to(bar.left + bar.width - 12, bar.top + (button.top - bar.top) // 2 + 20)
        xdo("click", 1)
        wait_for(lambda: int(self.prefix.drive("foreground").strip()) == bar.hwnd, what="the bar in front")
        for _ in range(6):
            if int(self.prefix.drive("focus", bar.hwnd).strip()) == button.hwnd:
                break
            xkey("Tab")
        self.assertEqual(int(self.prefix.drive("focus", bar.hwnd).strip()), button.hwnd)
        xkey("space")
        self.assertEqual(target.settled_text(), "Typed By Key\r\n")
        self.assertEqual(int(self.prefix.drive("foreground").strip()), target.hwnd)

    def test_shift_held_while_clicking_does_not_change_the_text(self):
        text = "Mixed Case, digits 123 and !?"
        write_scheme(self.data, "button", [("One", text)], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.click_in)
        button = self.buttons(bar)[0]
        pointer_to((button.left + button.right) // 2, (button.top + button.bottom) // 2)
        xdo("keydown", "shift")
        try:
            time.sleep(0.2)
            xdo("click", 1)
            self.assertEqual(target.settled_text(), text)
        finally:
            xdo("keyup", "shift")
        # Nothing stays pressed: a key typed afterwards is a small letter.
        xkey("x")
        self.assertEqual(target.settled_text(), text + "x")

    def test_caps_lock_on_does_not_change_the_text(self):
        text = "Hello World 1!"
        write_scheme(self.data, "button", [("One", text)], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.click_in)
        xdo("key", "Caps_Lock")
        try:
            pointer_click(self.buttons(bar)[0])
            self.assertEqual(target.settled_text(), text)
        finally:
            xdo("key", "Caps_Lock")

    def test_a_target_that_cannot_take_the_focus_gets_nothing_and_the_bar_stays_idle(self):
        write_scheme(self.data, "button", [("Spaces", "a b c d e")], 1)
        target = Target(self.prefix, no_focus=True)
        bar = self.app.start()
        self.capture(target.click_in)
        target.clear()  # it saw the Ctrl of Ctrl+T
        pointer_click(self.buttons(bar)[0])
        box = self.app.wait_dialog()
        self.assertIn("nothing was typed", " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        # The target writes down every key message it gets: only the marker's may be there.
        self.assert_nothing_typed_into(target, seen="[key 88][char 120]")
        # No burst that presses the bar's own buttons: the program uses no processor.
        before = cpu_seconds(self.app.proc.pid)
        time.sleep(2)
        self.assertLess(cpu_seconds(self.app.proc.pid) - before, 0.5)

    def test_eleven_captions_give_ten_buttons_and_a_bar_of_478(self):
        write_scheme(self.data, "button", [("B%d" % i, "t%d" % i) for i in range(1, 12)], 1)
        bar = self.app.start()
        buttons = sorted(self.buttons(bar), key=lambda b: b.top)
        self.assertEqual([b.text for b in buttons], ["B%d" % i for i in range(1, 11)])
        self.assertEqual(bar.client_height, 478 + self.app.label_growth() - 27)
        # 32 pixels apart, from the anchor at 56, 56 of the client area.
        tops = [b.top for b in buttons]
        self.assertEqual([t - tops[0] for t in tops], [32 * i for i in range(10)])
        self.assertEqual({b.left for b in buttons}.__len__(), 1)

    def test_first_start_reports_the_missing_scheme_with_its_full_path(self):
        self.app.start(wait=False)
        box = self.app.wait_dialog()
        text = " ".join(box["texts"])
        expected = "Cannot find button file: Z:" + self.data.replace("/", "\\") + "\\button.dat"
        self.assertEqual(text, expected)
        self.app.click_answer(box, "OK")
        bar = self.app.wait_bar()
        self.assertEqual(bar.client_height, 140 + self.app.label_growth() - 27)
        self.assertEqual(self.buttons(bar), [])

    def set_key_delay(self, ms):
        """Options > Typing... in the configuration window, with real keys: the delay typed
        over the one shown (selected), then Enter."""
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        pointer_to(cfg.right - 150, cfg.top + 10)  # its caption, clear of the target and the title buttons
        xdo("click", 1)
        wait_for(lambda: int(self.prefix.drive("foreground").strip()) == cfg.hwnd, what="the configuration window in front")
        xkey("alt+o")
        wait_for(lambda: self.app.find(cls="#32768"), what="the Options menu")
        xkey("t")
        dialog = wait_for(lambda: self.app.find(cls="TFormTyping"), what="the typing dialog")
        edit = [k for k in self.app.children(dialog.hwnd) if k.cls.lower() == "edit"][0]
        wait_for(lambda: int(self.prefix.drive("focus", dialog.hwnd).strip()) == edit.hwnd, what="the delay box focused")
        xdo("type", str(ms))
        xkey("Return")
        wait_for(lambda: not self.app.find(cls="TFormTyping"), what="the dialog to close on Enter")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\Options\Typing", "KeyDelay"), str(ms))

    def test_a_delay_between_keys_lets_a_polling_target_keep_every_key(self):
        # Remote consoles read the key state every few milliseconds: keys that come and go in
        # one burst between two looks are lost or reordered there.
        text = "the quick brown fox jumps over the lazy dog 1234567890"
        write_scheme(self.data, "button", [("Console", text)], 0)
        target = Target(self.prefix, polling=True)
        bar = self.app.start()
        button = self.buttons(bar)[0]

        def type_once():
            target.clear()
            self.capture(target.click_in)
            wait_for(lambda: target.text() == "t", what="the polling target to see the T of Ctrl+T")
            target.clear()
            pointer_click(button)
            return target.settled_text()

        self.assertNotEqual(type_once(), text)  # the burst: the target misses keys
        self.set_key_delay(40)
        self.assertEqual(type_once(), text)

    def test_a_slow_typing_keeps_the_bar_answering_and_stops_when_the_user_switches_away(self):
        text = "typed slowly, one key stroke after the other"
        write_scheme(self.data, "button", [("Slow", text)], 0)
        self.prefix.reg_add(BASE_KEY + r"\Options\Typing", "KeyDelay", "120")
        target = Target(self.prefix)
        other = Target(self.prefix, title="Another Window")
        self.prefix.drive("move", other.hwnd, 820, 60, 420, 300)  # clear of the other windows
        bar = self.app.start()
        button = self.buttons(bar)[0]
        self.capture(target.click_in)
        pointer_click(button)
        wait_for(lambda: len(target.text()) >= 3, what="the first characters")
        # The bar answers while it types, and a second click is refused, not typed again.
        self.assertEqual(self.prefix.drive("text", bar.hwnd).strip(), "Ketravo")
        pointer_click(button)
        typed_meanwhile = len(target.text())
        self.assertLess(typed_meanwhile, len(text))
        self.assertEqual(target.settled_text(), text)

        # Again, and the user clicks into another window halfway.
        target.clear()
        self.capture(target.click_in)
        pointer_click(button)
        wait_for(lambda: len(target.text()) >= 10, what="ten characters")
        pointer_click(self.app.find(title=other.title))  # the box that follows takes the front
        box = self.app.wait_dialog()
        typed = target.text()
        self.assertLess(len(typed), len(text))
        self.assertEqual(typed, text[:len(typed)])
        self.assertIn("%d of %d characters were typed" % (len(typed), len(text)), " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        self.assert_nothing_typed_into(other)
        self.assertEqual(target.text(), typed)


if __name__ == "__main__":
    unittest.main()
