"""The capture key of the user's choice: chosen in "Options > Typing..." with real keys, named on
the bar, held only while the bar shows, and a bad stored one reported."""
import os
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, Target, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey

TYPING_KEY = BASE_KEY + r"\Options\Typing"


class CaptureKeyTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("One", "typed text")], 0)

    def tearDown(self):
        self.app.stop()

    def instruction(self):
        return next(c.text for c in self.app.children(self.app.bar(visible=False).hwnd) if c.text.startswith("Press "))

    def capture_and_type(self, target, combo):
        target.click_in()
        time.sleep(0.3)
        xkey(combo)
        time.sleep(0.3)
        target.clear()  # what the box held before (a click into its middle moves the caret)
        pointer_click(self.app.scheme_buttons()[0])
        try:
            wait_for(lambda: target.text() == "typed text", what="the text typed after %s" % combo)
        except AssertionError:
            raise AssertionError("the target holds %r, boxes %r" % (target.text(), self.app.dialogs()))

    def open_typing_dialog(self):
        """Options > Typing... in the configuration window, with the keys."""
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        self.app.to_front(cfg, cfg.right - 150, cfg.top + 10)  # its caption
        xkey("alt+o")
        wait_for(lambda: self.app.find(cls="#32768"), what="the Options menu")
        xkey("t")
        dialog = wait_for(lambda: self.app.find(cls="TFormTyping"), what="the typing dialog")
        return dialog, self.app.children(dialog.hwnd)

    def test_a_key_chosen_with_real_keys_captures_and_ctrl_t_is_free_again(self):
        target = Target(self.prefix, keys=True)
        self.app.start()
        self.app.bar_aside()
        dialog, kids = self.open_typing_dialog()
        self.assertIn("Capture window with:", [k.text for k in kids])
        box = next(k for k in kids if k.cls.lower() == "msctls_hotkey32")
        self.app.click(box.hwnd)
        wait_for(lambda: self.app.focus_of(dialog.hwnd) == box.hwnd, what="the key box focused")
        # Shift alone with a letter is refused: it would fire whenever a capital is typed.
        xkey("shift+y")
        self.app.click(next(k.hwnd for k in kids if k.text == "OK"))
        refusal = self.app.wait_dialog()
        self.assertIn("needs Ctrl, Alt or Win", " ".join(refusal["texts"]))
        self.app.click_answer(refusal, "OK")
        self.app.click(box.hwnd)
        xkey("ctrl+shift+y")
        self.app.click(next(k.hwnd for k in kids if k.text == "OK"))
        wait_for(lambda: not self.app.find(cls="TFormTyping"), what="the dialog to close")
        self.assertEqual(self.prefix.reg_query(TYPING_KEY)["CaptureHotKey"], ("REG_SZ", "Ctrl+Shift+Y"))
        self.assertEqual(self.instruction(), "Press Ctrl+Shift+Y on the Window where you want the typing to appear")

        # Ctrl+T belongs to the other programs again; the new key captures at once.
        target.click_in()
        xkey("ctrl+t")
        wait_for(lambda: target.text() == "[Ctrl+T]", what="Ctrl+T in the target")
        self.capture_and_type(target, "ctrl+shift+y")
        self.assertEqual(self.app.dialogs(), [])

    def test_a_bad_stored_key_is_reported_and_ctrl_t_captures(self):
        self.prefix.reg_add(TYPING_KEY, "CaptureHotKey", "Strg+T")
        target = Target(self.prefix)
        self.app.start(wait=False)
        box = self.app.wait_dialog()
        text = " ".join(box["texts"])
        self.assertIn("'Strg+T' is not a key combination", text)
        self.assertIn("(setting Options\\Typing\\CaptureHotKey). Ctrl+T is used instead.", text)
        self.app.click_answer(box, "OK")
        self.app.wait_bar()
        self.assertEqual(self.instruction(), "Press Ctrl+T on the Window where you want the typing to appear")
        self.capture_and_type(target, "ctrl+t")
        # The dialog shows Ctrl+T without telling again; its OK stores it in place of the bad text.
        self.app.bar_aside()
        dialog, kids = self.open_typing_dialog()
        self.assertEqual(self.app.dialogs(), [])
        self.app.click(next(k.hwnd for k in kids if k.text == "OK"))
        wait_for(lambda: not self.app.find(cls="TFormTyping"), what="the dialog to close")
        self.assertEqual(self.prefix.reg_value(TYPING_KEY, "CaptureHotKey"), "Ctrl+T")
        self.capture_and_type(target, "ctrl+t")

    def test_the_bar_closed_with_its_close_box_and_shown_again_still_captures(self):
        target = Target(self.prefix, keys=True)
        bar = self.app.start()
        wait_for(lambda: self.app.skinned(bar.hwnd), what="the skinned bar")
        time.sleep(0.3)
        pointer_to(bar.left + bar.width - 24 + 8, bar.top + 4 + 8)  # the skin's close box
        time.sleep(0.05)
        xdo("click", 1)
        wait_for(lambda: self.app.bar() is None, what="the bar hidden")
        # While the bar is closed the key is free: the target gets it.
        target.click_in()
        xkey("ctrl+t")
        wait_for(lambda: target.text() == "[Ctrl+T]", what="Ctrl+T in the target")
        self.app.tray_choose("Show Button Form")
        self.app.wait_bar()
        self.capture_and_type(target, "ctrl+t")


if __name__ == "__main__":
    unittest.main()
