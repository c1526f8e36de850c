"""The main job: schemes on the bar, Ctrl+T on a target, a click types the button's text."""
import os
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, Target, unescape, wait_for, write_scheme, xkey

PRINTABLE = "".join(chr(c) for c in range(32, 127))


class TypingTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")

    def tearDown(self):
        self.app.stop()

    def buttons(self, bar):
        return [c for c in self.app.children(bar.hwnd) if c.cls.lower() == "button" and c.visible
                and c.text and c.width == 75]

    def capture(self, target_focus):
        """Ctrl+T with the given window in front."""
        target_focus()
        time.sleep(0.3)
        xkey("ctrl+t")
        time.sleep(0.3)

    def test_a_click_types_the_text_then_the_end_of_line_action(self):
        write_scheme(self.data, "button", [("Ascii", PRINTABLE), ("Letters", "caf\u00e9 Stra\u00dfe \u00c4\u00d6\u00dc \u00a7 \u00b5")], 1)
        target = Target(self.prefix)
        bar = self.app.start()
        buttons = {b.text: b for b in self.buttons(bar)}
        self.assertEqual(sorted(buttons), ["Ascii", "Letters"])
        self.assertEqual(self.app.bar().height, 140 + 25 * 3)

        self.capture(target.focus)
        self.prefix.drive("click", buttons["Ascii"].hwnd)
        self.assertEqual(target.settled_text(), PRINTABLE + "\r\n")

        target.clear()
        self.prefix.drive("click", buttons["Letters"].hwnd)
        self.assertEqual(target.settled_text(), "caf\u00e9 Stra\u00dfe \u00c4\u00d6\u00dc \u00a7 \u00b5\r\n")

    def test_tab_and_no_action_end_the_text_differently(self):
        write_scheme(self.data, "button", [("One", "abc")], 2)
        write_scheme(self.data, "plain", [("Two", "xyz")], 0)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(target.focus)
        self.prefix.drive("click", self.buttons(bar)[0].hwnd)
        # A multi-line edit box takes a Tab as a character.
        self.assertEqual(target.settled_text(), "abc\t")

        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        # The chooser lists the folder in its enumeration order: pick "plain" where it stands.
        items = [unescape(l) for l in self.prefix.drive("items", combo.hwnd).splitlines()]
        self.assertEqual(sorted(items), ["button", "plain"])
        self.prefix.drive("select", combo.hwnd, items.index("plain"))
        wait_for(lambda: [b.text for b in self.buttons(self.app.bar())] == ["Two"], what="the plain scheme")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "plain.dat")
        target.clear()
        self.capture(target.focus)
        self.prefix.drive("click", self.buttons(self.app.bar())[0].hwnd)
        self.assertEqual(target.settled_text(), "xyz")

    def test_with_the_bar_captured_a_click_shows_the_message_and_types_nothing(self):
        write_scheme(self.data, "button", [("One", "abc")], 1)
        target = Target(self.prefix)
        bar = self.app.start()
        self.capture(lambda: self.prefix.drive("foreground", bar.hwnd))
        self.prefix.drive("click", self.buttons(bar)[0].hwnd)
        box = self.app.wait_dialog()
        self.assertIn("Press Ctrl+T", " ".join(box["texts"]))
        self.assertIn(str(bar.hwnd), " ".join(box["texts"]))
        self.app.answer(box, "OK")
        time.sleep(0.5)
        self.assertEqual(target.text(), "")

    def test_eleven_captions_give_ten_buttons_and_a_bar_of_415(self):
        write_scheme(self.data, "button", [("B%d" % i, "t%d" % i) for i in range(1, 12)], 1)
        bar = self.app.start()
        buttons = sorted(self.buttons(bar), key=lambda b: b.top)
        self.assertEqual([b.text for b in buttons], ["B%d" % i for i in range(1, 11)])
        self.assertEqual(bar.height, 415)
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
        self.app.answer(box, "OK")
        bar = self.app.wait_bar()
        self.assertEqual(bar.height, 140)
        self.assertEqual(self.buttons(bar), [])


if __name__ == "__main__":
    unittest.main()
