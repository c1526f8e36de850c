"""Keyboard use of the program's windows with real keys: Tab and Shift+Tab walk the controls,
the arrow keys move inside the end-of-line radio group, Escape cancels the settings dialog;
an outside reader of a long list entry gets its length and the program lives on."""
import os
import subprocess
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, wait_for, write_scheme, xkey
from test_config import ConfigWindow

BM_GETCHECK = 0x00F0


def xclick(x, y):
    """A left click on the X display at screen point x, y, as the user makes it."""
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True, timeout=10)


class KeyboardTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")

    def tearDown(self):
        self.app.stop()

    def start(self):
        self.app.start()
        self.app.bar_aside()
        self.cfg = ConfigWindow(self.app)
        self.app.to_front(self.cfg.window)

    def select_scheme(self, captions):
        self.app.pick(self.cfg.scheme_list, 0)
        wait_for(lambda: self.cfg.drive("items", self.cfg.caption_list).split() == captions,
                 what="the scheme's buttons in the lists")

    def focus(self):
        return int(self.prefix.drive("focus", self.cfg.window.hwnd).strip())

    def wait_focus(self, hwnd, what):
        wait_for(lambda: self.focus() == hwnd, what=what)

    def click_on(self, hwnd):
        kid = [k for k in self.app.children(self.cfg.window.hwnd) if k.hwnd == hwnd][0]
        xclick(kid.left + 8, kid.bottom - 6)
        self.wait_focus(hwnd, "the focus on the clicked control")

    def checked(self, hwnd):
        return self.prefix.drive("send", hwnd, BM_GETCHECK, 0, 0).strip() == "1"

    def test_tab_walks_from_file_name_and_arrows_move_in_the_radio_group(self):
        write_scheme(self.data, "button", [("Old", "old text")], 1)
        self.start()
        cfg = self.cfg
        self.select_scheme(["Old"])
        self.click_on(cfg.scheme_edit)
        xkey("Tab")
        self.wait_focus(cfg.scheme_list, "Tab from File Name to the scheme list")
        xkey("shift+Tab")
        self.wait_focus(cfg.scheme_edit, "Shift+Tab back to File Name")

        radios = {k.text: k.hwnd for k in self.app.children(cfg.window.hwnd)
                  if k.cls.lower() == "button" and k.text in ("No Action", "Enter", "Tab")}
        self.assertTrue(self.checked(radios["Enter"]))
        # From the text list, Tab reaches the radio group at its checked button.
        self.click_on(cfg.text_list)
        xkey("Tab")
        self.wait_focus(radios["Enter"], "Tab into the radio group")
        xkey("Right")
        self.wait_focus(radios["Tab"], "Right to the next radio button")
        self.assertTrue(self.checked(radios["Tab"]))
        self.assertFalse(self.checked(radios["Enter"]))
        xkey("Right")  # round to the first
        self.wait_focus(radios["No Action"], "Right from the last radio button")
        xkey("Up")
        self.wait_focus(radios["Tab"], "Up back to the last one")
        self.assertEqual([self.checked(radios[t]) for t in ("No Action", "Enter", "Tab")], [False, False, True])
        # The choice counts as a change of the scheme: Save writes it.
        self.app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        with open(os.path.join(self.data, "button.dat"), "rb") as f:
            self.assertTrue(f.read().endswith(b"D012\r\n"))

    def test_escape_closes_the_settings_dialog_without_storing(self):
        write_scheme(self.data, "button", [("Old", "old text")], 1)
        self.start()
        before = self.prefix.reg_query(BASE_KEY + r"\Path")
        xkey("alt+o")
        xkey("s")
        dialog = wait_for(lambda: self.app.find(cls="TFormOptionsDirectory"), what="the settings dialog")
        edits = sorted((k for k in self.app.children(dialog.hwnd) if k.cls.lower() == "edit"), key=lambda k: k.top)
        self.app.type_into(edits[0].hwnd, r"C:\Elsewhere")
        wait_for(lambda: self.prefix.drive("foreground").strip() == str(dialog.hwnd), what="the dialog in front")
        xkey("Escape")
        wait_for(lambda: not self.app.find(cls="TFormOptionsDirectory"), what="the dialog to close on Escape")
        self.assertEqual(self.prefix.reg_query(BASE_KEY + r"\Path"), before)
        self.assertIsNotNone(self.app.find(cls="TConfigForm"))

    def test_an_outside_reader_gets_a_long_entry_whole(self):
        long_text = "L" * 4000
        write_scheme(self.data, "button", [("Long", long_text), ("Mid", "M" * 1000)], 1)
        self.start()
        cfg = self.cfg
        self.select_scheme(["Long", "Mid"])
        for index, length in ((0, 4000), (1, 1000)):
            wide, narrow = (l.split("\t") for l in cfg.drive("lbtext", cfg.text_list, index).splitlines())
            # Length asked, length returned by the copy, characters copied.
            self.assertEqual(wide, ["W", str(length), str(length), str(length)])
            # What an ANSI reader's copy holds is up to its own side of the conversion (under
            # Wine, UTF-16 in any case); the lengths are the program's answers.
            self.assertEqual(narrow[:3], ["A", str(length), str(length)])
        # The program is alive and answers.
        self.assertEqual(self.prefix.drive("text", cfg.window.hwnd).strip(), "Ketravo Configuration")


if __name__ == "__main__":
    unittest.main()
