"""The notification icon and its menu, and the configuration window's font and start-up form,
as a user works them: the icon clicked where the display shows it, the dialogs with the pointer."""
import os
import time
import unittest

import pixels
from ktharness import App, BASE_KEY, Prefix, pointer_to, wait_for, write_scheme, xkey


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

    def test_icon_menu_shows_and_hides_the_windows_and_exit_removes_the_icon(self):
        bar = self.app.start()
        wait_for(self.config, what="the configuration window")
        self.assertEqual(len(wait_for(self.tray_icons, what="the tray icon")), 1)

        menu = self.app.open_tray_menu()
        time.sleep(0.5)
        shot = pixels.screenshot("tray-menu")
        # The grey strip down the left edge, below the upward name; the items start at x = 25.
        strip = shot.pixels(menu.left + 16, menu.top + 78, 3, 10)
        self.assertTrue(all(p == (128, 128, 128) for p in strip), strip[:4])
        self.assertGreater(menu.width, 120)
        self.assertNotIn((128, 128, 128), shot.pixels(menu.left + 40, menu.top + 96, 10, 2))
        self.app.close_menu()

        self.app.tray_choose("Hide Config Form")
        wait_for(lambda: not self.config(), what="the configuration window hidden")
        self.app.tray_choose("Show Config Form")
        wait_for(self.config, what="the configuration window shown")
        self.app.tray_choose("Hide Button Form")
        wait_for(lambda: not self.app.bar(), what="the bar hidden")
        self.app.tray_choose("Show Button Form")  # the menu opens although the bar is hidden
        wait_for(self.app.bar, what="the bar shown")

        self.app.tray_choose("Exit")
        self.app.proc.wait(timeout=20)
        wait_for(lambda: not self.tray_icons(), what="the icon removed")
        # Exit does not save the bar's placement (reading it at start leaves the key empty).
        self.assertEqual(self.prefix.reg_query(BASE_KEY + r"\Windows\Button") or {}, {})

    def test_a_font_chosen_and_applied_shows_in_both_windows_and_the_start_up_form_is_kept(self):
        self.app.start()
        self.app.bar_aside()
        cfg = wait_for(self.config, what="the configuration window")
        kids = {k.text: k for k in self.app.children(cfg.hwnd)}
        bar = self.app.bar()
        label = next(k for k in self.app.children(bar.hwnd) if k.text.startswith("Press Ctrl+T"))
        box = kids["Do not show this form at startup"]
        before = pixels.screenshot("tray-font-before")

        # Options > Font with the keys, 12 points Bold Italic picked with the pointer, Apply.
        dialog = self.open_font_dialog(cfg)
        self.set_font(dialog, "12", "Bold Italic")
        self.app.click(self.dialog_button(dialog, "Apply"))
        key = BASE_KEY + r"\Options\Fonts"
        wait_for(lambda: self.prefix.reg_value(key, "FontSize") == "12", what="the applied font stored")
        values = self.prefix.reg_query(key)
        self.assertEqual([values[n][1] for n in ("FontStyleBold", "FontStyleItalic", "FontStyleUnderline",
                                                  "FontStyleStrikeout")], ["-1", "-1", "0", "0"])
        # Both windows draw their text in the larger font: its first line is 3 rows taller at least
        # (the check box clips it to its height).
        box_text = type("Area", (), dict(left=box.left + 18, top=box.top, width=box.width - 18, height=box.height))
        for name, w in (("the bar's label", label), ("the check box's text", box_text)):
            old = before.text_height(w)
            wait_for(lambda: pixels.screenshot("tray-font-after").text_height(w) >= old + 3,
                     what="%s in the larger font (was %d rows)" % (name, old))

        # OK without Apply stores nothing: the click on the check box after it is stored first.
        self.app.click(self.dialog_button(dialog, "OK"))
        wait_for(lambda: not self.font_dialog(), what="the font dialog closed")
        dialog = self.open_font_dialog(cfg)
        self.set_font(dialog, "8", "Regular")
        self.app.click(self.dialog_button(dialog, "OK"))
        wait_for(lambda: not self.font_dialog(), what="the font dialog closed")
        # "Do not show this form at startup": the next start shows only the bar.
        self.app.click(box.hwnd)
        wait_for(lambda: self.prefix.reg_value(BASE_KEY + r"\Form", "Start") == "Button", what="Start stored")
        self.assertEqual(self.prefix.reg_query(key), values)
        self.app.stop()
        self.app = App(self.prefix, self.app.start_dir)
        self.app.start()
        self.app.answers_input()
        self.assertIsNone(self.config())
        self.assertIsNotNone(self.config(visible=False))
        self.assertIsNotNone(self.app.bar())

    def font_dialog(self):
        return self.app.find(cls="#32770", title="Font")

    def dialog_button(self, dialog, text):
        return next(k.hwnd for k in self.app.children(dialog) if k.text.replace("&", "") == text)

    def open_font_dialog(self, cfg):
        self.app.to_front(cfg)
        xkey("alt+o")
        time.sleep(0.3)
        xkey("f")
        return wait_for(self.font_dialog, what="the font dialog").hwnd

    def set_font(self, dialog, size, style):
        combos = {k.id: k.hwnd for k in self.app.children(dialog) if k.cls.lower() == "combobox"}
        for cid, wanted in ((0x471, style), (0x472, size)):
            self.app.choose(combos[cid], wanted)
            wait_for(lambda: self.app.text(combos[cid]) == wanted, what="%s chosen" % wanted)


if __name__ == "__main__":
    unittest.main()
