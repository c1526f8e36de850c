"""The skinned configuration window used with the real pointer and keyboard: a scheme and its
buttons made through skinned buttons and edits, the end-of-line radio buttons, and the bar's
skinned scheme buttons typing into the target."""
import os
import time
import unittest

import pixels
from ktharness import Target, capture, pointer_click, pointer_to, wait_for
from test_config import ConfigWindow, OneSchemeTestCase

BM_GETCHECK = 0xF0


class SkinnedControlsTest(OneSchemeTestCase):

    def kid(self, hwnd):
        return next(k for k in self.app.children(self.cfg.window.hwnd) if k.hwnd == hwnd)

    def click(self, hwnd):
        pointer_click(self.kid(hwnd))

    def test_a_scheme_made_with_pointer_and_keys_on_skinned_controls_types_from_the_bar(self):
        target = Target(self.prefix)
        bar = self.app.start()
        self.cfg = cfg = ConfigWindow(self.app)
        # The bar stays on top: out of the configuration window's way.
        self.prefix.drive("move", bar.hwnd, 0, 1024 - bar.height - 40, bar.width, bar.height)
        wait_for(lambda: self.prefix.drive("send", cfg.window.hwnd, "0x3504", "0", "0").strip() == "1",
                 what="the skinned configuration window")
        time.sleep(0.6)

        # The push buttons show the skin's face: the "Buttons" picture's frame 1 at (LeftWidth, 0).
        add = self.kid(cfg.scheme_cmd["Add"])
        pointer_to(cfg.window.left + 2, cfg.window.bottom + 40)
        time.sleep(0.3)
        shot = pixels.screenshot("skinned-config")
        pixels.save_window(shot, cfg.window, "skinned-config")
        buttons = pixels.skin_picture("Blue", "buttons.bmp")
        self.assertTrue(pixels.near(shot.pixel(add.left + 4, add.top), buttons.pixel(4, 0)),
                        (shot.pixel(add.left + 4, add.top), buttons.pixel(4, 0)))

        self.app.type_into(cfg.scheme_edit, "work")
        self.click(cfg.scheme_cmd["Add"])
        cfg.wait_status("work.dat File Added")

        for caption, text in (("One", "first"), ("Two", "second")):
            self.app.type_into(cfg.caption_edit, caption)
            self.app.type_into(cfg.text_edit, text)
            self.click(cfg.button_cmd["Add"])
            cfg.wait_status("Item added.")

        radios = {k.text.replace("&", ""): k.hwnd for k in self.app.children(cfg.window.hwnd)
                  if k.cls.lower() == "button" and k.text.replace("&", "") in ("No Action", "Enter", "Tab")}
        self.assertEqual(sorted(radios), ["Enter", "No Action", "Tab"])
        for name in ("Tab", "No Action", "Tab"):
            self.click(radios[name])
            wait_for(lambda: self.prefix.drive("send", radios[name], BM_GETCHECK, 0, 0).strip() == "1",
                     what="%s checked" % name)
            others = [n for n in radios if n != name]
            self.assertEqual([self.prefix.drive("send", radios[n], BM_GETCHECK, 0, 0).strip() for n in others],
                             ["0", "0"])

        self.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        with open(os.path.join(self.data, "work.dat"), "rb") as f:
            self.assertEqual(f.read(), b"C01One\r\nT01first\r\nC01Two\r\nT01second\r\nD012\r\n")

        # The skinned scheme chooser on the bar, opened and picked with the pointer.
        self.app.choose(self.app.scheme_chooser().hwnd, "work")

        def bar_buttons():
            return {c.text: c for c in self.app.scheme_buttons()}
        wait_for(lambda: sorted(bar_buttons()) == ["One", "Two"], what="the new buttons on the bar")

        capture(target.click_in)
        pointer_click(bar_buttons()["Two"])
        self.assertEqual(target.settled_text(), "second\t")
        pointer_click(bar_buttons()["One"])
        self.assertEqual(target.settled_text(), "second\tfirst\t")


if __name__ == "__main__":
    unittest.main()
