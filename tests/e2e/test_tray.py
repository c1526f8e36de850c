"""The notification icon and its menu, and the configuration window's start-up options and font."""
import os
import subprocess
import time
import unittest

from ktharness import App, BASE_KEY, BIN, Prefix, pointer_to, unescape, unix_to_wine, wait_for, write_scheme, xkey

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
SHOTS = os.environ.get("KT_BUILD", os.path.dirname(BIN))


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)


def pixels(path, x, y, w, h):
    """RGB triples of a rectangle of a screenshot, row by row."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-depth", "8",
                          "rgb:-"], check=True, capture_output=True, timeout=30).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


class TrayTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("One", "one")], 1)
        # Where a fresh display has it, off the scheme button: an earlier test that clicked a
        # scheme button leaves the pointer where this bar's button appears, and over a scheme
        # button the bar refuses activation, so its menu and the keys below go nowhere.
        pointer_to(640, 512)

    def tearDown(self):
        self.app.stop()

    def tray_icons(self):
        tray = self.app.find(cls="__winex11_standalone_tray", visible=False)
        return [c for c in self.app.children(tray.hwnd) if c.cls == "__winex11_tray_icon"] if tray else []

    def config(self, visible=True):
        return self.app.find(cls="TConfigForm", visible=visible)

    def open_menu(self, bar):
        self.prefix.drive("post", bar.hwnd, 0x401, 0, 0x204)
        return wait_for(lambda: self.app.find(cls="#32768"), what="the popup menu")

    def choose(self, bar, downs):
        """Opens the icon's menu and picks the item `downs` steps down, as the user does."""
        self.open_menu(bar)
        time.sleep(0.3)
        for _ in range(downs):
            xkey("Down")
            time.sleep(0.1)
        xkey("Return")
        wait_for(lambda: not self.app.find(cls="#32768"), what="the menu to close")

    def test_icon_menu_shows_and_hides_the_windows_and_exit_removes_the_icon(self):
        bar = self.app.start()
        wait_for(self.config, what="the configuration window")
        self.assertEqual(len(wait_for(self.tray_icons, what="the tray icon")), 1)

        menu = self.open_menu(bar)
        time.sleep(0.5)
        shot = os.path.join(SHOTS, "tray-menu.png")
        screenshot(shot)
        # The grey strip down the left edge, below the upward name; the items start at x = 25.
        strip = pixels(shot, menu.left + 16, menu.top + 78, 3, 10)
        self.assertTrue(all(p == (128, 128, 128) for p in strip), strip[:4])
        self.assertGreater(menu.width, 120)
        self.assertNotIn((128, 128, 128), pixels(shot, menu.left + 40, menu.top + 96, 10, 2))
        xkey("Escape")
        wait_for(lambda: not self.app.find(cls="#32768"), what="the menu to close")

        self.choose(bar, 2)   # Hide Config Form
        wait_for(lambda: not self.config(), what="the configuration window hidden")
        self.choose(bar, 1)   # Show Config Form
        wait_for(self.config, what="the configuration window shown")
        self.choose(bar, 4)   # Hide Button Form
        wait_for(lambda: not self.app.bar(), what="the bar hidden")
        self.choose(bar, 3)   # Show Button Form (the menu opens although the bar is hidden)
        wait_for(self.app.bar, what="the bar shown")

        self.choose(bar, 5)   # Exit
        self.app.proc.wait(timeout=20)
        wait_for(lambda: not self.tray_icons(), what="the icon removed")
        # Exit does not save the bar's placement (reading it at start leaves the key empty).
        self.assertEqual(self.prefix.reg_query(BASE_KEY + r"\Windows\Button") or {}, {})

    def test_start_up_options_and_the_font_dialog(self):
        self.app.start()
        cfg = wait_for(self.config, what="the configuration window")
        kids = {k.text: k for k in self.app.children(cfg.hwnd)}
        load = kids["Load Ketravo at startup"].hwnd
        self.prefix.drive("click", load)
        # The program's folder (not the start folder), quoted when it has a blank.
        expected = unix_to_wine(BIN) + "\\KTRAVO.exe"
        expected = '"%s"' % expected if " " in expected else expected
        wait_for(lambda: self.prefix.reg_value(RUN_KEY, "Ketravo") == expected, what="the Run value")
        self.prefix.drive("click", load)
        wait_for(lambda: self.prefix.reg_value(RUN_KEY, "Ketravo") is None, what="the Run value deleted")

        # Options > Font through the menu's accelerators.
        bar = self.app.bar()
        label = [k for k in self.app.children(bar.hwnd) if k.text.startswith("Press Ctrl+T")][0]
        before = os.path.join(SHOTS, "tray-font-before.png")
        screenshot(before)
        dialog = self.open_font_dialog(cfg)
        self.set_font(dialog, "12", "Bold Italic")
        self.prefix.drive("press", dialog, "Apply")
        key = BASE_KEY + r"\Options\Fonts"
        wait_for(lambda: self.prefix.reg_value(key, "FontSize") == "12", what="the applied font stored")
        values = self.prefix.reg_query(key)
        self.assertEqual([values[n][1] for n in ("FontStyleBold", "FontStyleItalic", "FontStyleUnderline",
                                                  "FontStyleStrikeout")], ["-1", "-1", "0", "0"])
        time.sleep(0.5)
        after = os.path.join(SHOTS, "tray-font-after.png")
        screenshot(after)
        area = (label.left, label.top, label.width, label.height)
        self.assertNotEqual(pixels(before, *area), pixels(after, *area), "the bar's label is redrawn")
        box = kids["Do not show this form at startup"]
        area = (box.left, box.top, box.width, box.height)
        self.assertNotEqual(pixels(before, *area), pixels(after, *area), "the window's check box is redrawn")

        # OK without Apply stores nothing.
        self.prefix.drive("press", dialog, "OK")
        wait_for(lambda: not self.font_dialog(), what="the font dialog closed")
        dialog = self.open_font_dialog(cfg)
        self.set_font(dialog, "8", "Regular")
        self.prefix.drive("press", dialog, "OK")
        wait_for(lambda: not self.font_dialog(), what="the font dialog closed")
        time.sleep(0.5)
        self.assertEqual(self.prefix.reg_query(key), values)

        # "Do not show this form at startup": the next start shows only the bar.
        self.prefix.drive("click", kids["Do not show this form at startup"].hwnd)
        wait_for(lambda: self.prefix.reg_value(BASE_KEY + r"\Form", "Start") == "Button", what="Start stored")
        self.app.stop()
        self.app = App(self.prefix, self.app.start_dir)
        self.app.start()
        time.sleep(1.0)
        self.assertIsNone(self.config())
        self.assertIsNotNone(self.config(visible=False))
        self.assertIsNotNone(self.app.bar())

    def font_dialog(self):
        return self.app.find(cls="#32770", title="Font")

    def open_font_dialog(self, cfg):
        self.prefix.drive("foreground", cfg.hwnd)
        time.sleep(0.3)
        xkey("alt+o")
        time.sleep(0.3)
        xkey("f")
        return wait_for(self.font_dialog, what="the font dialog").hwnd

    def set_font(self, dialog, size, style):
        combos = {k.id: k.hwnd for k in self.app.children(dialog) if k.cls.lower() == "combobox"}
        for cid, wanted in ((0x471, style), (0x472, size)):
            items = [unescape(l) for l in self.prefix.drive("items", combos[cid]).splitlines()]
            self.assertIn(wanted, items)
            self.prefix.drive("select", combos[cid], items.index(wanted))
        time.sleep(0.3)


if __name__ == "__main__":
    unittest.main()
