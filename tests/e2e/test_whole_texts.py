"""Every text shows whole: measured with each control's own font against its control, on the
bar, the configuration window, the settings dialog, the About box and the Typing dialog, in
every built-in skin and unskinned. The bar grows for its instruction and for a tenth button,
its buttons widen for "Street address", and a caption longer than a third of the screen ends
with "..." and shows whole as the button's hint."""
import os
import time
import unittest

import pixels
from ktharness import App, Prefix, Target, capture, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey

LONG = "A caption far too long for any button on this bar: it runs on past a third of the screen's width"
BUTTONS = [("Street address", "1 Main Street")] + [("B%d" % i, "t%d" % i) for i in range(2, 10)] + [(LONG, "tenth")]


class WholeTextsTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", BUTTONS, 0)

    def tearDown(self):
        self.app.stop()

    def menu(self, *keys):
        """A menu entry of the configuration window reached with the keyboard, after a click on a
        free spot of the window (the bar is the active window at start)."""
        c = self.config
        pointer_to(c.left + 50, c.bottom - 16)
        xdo("click", 1)
        wait_for(lambda: self.prefix.drive("foreground").strip() == str(c.hwnd), what="the configuration window")
        for key in keys:
            xkey(key)
            time.sleep(0.2)

    def assert_fits(self, hwnd, where):
        self.assertEqual(self.app.unfit_texts(hwnd), [], where)

    def dialog(self, cls):
        return wait_for(lambda: self.app.find(cls=cls), what=cls)

    def button(self, hwnd, text):
        return next(k for k in self.app.children(hwnd) if k.text.replace("&", "") == text)

    def test_every_text_fits_its_control_in_every_skin(self):
        app = self.app
        target = Target(self.prefix)
        bar = app.start()
        self.config = self.dialog("TConfigForm")
        bar = self.park_bar(aside=False)

        buttons = sorted(app.scheme_buttons(), key=lambda b: b.top)
        self.assertEqual(len(buttons), 10)
        self.assertEqual(len({b.width for b in buttons}), 1)
        self.assertGreater(buttons[0].width, 75)  # widened for "Street address"
        self.assertEqual(buttons[0].text, "Street address")
        self.assertTrue(buttons[9].text.endswith("...") and LONG.startswith(buttons[9].text[:-3]), buttons[9].text)
        self.assertLessEqual(buttons[9].width, 1280 // 3)

        for skin in ["Blue", "Silver", "Green", "Unskin"]:
            if skin != "Blue":
                self.menu("alt+o", "k", *(["Down"] * ["Blue", "Silver", "Green", "Unskin"].index(skin)), "Return")
            for w in (bar, self.config):
                wait_for(lambda: app.skinned(w.hwnd) == (skin != "Unskin"), what="%s on %r" % (skin, w))
            time.sleep(0.5)
            bar = app.bar()
            self.assert_fits(bar.hwnd, "bar, " + skin)
            self.assert_fits(self.config.hwnd, "configuration window, " + skin)
            # The tenth button lies wholly inside the bar's client area.
            left, top, right, bottom = app.client_rect(bar.hwnd)
            tenth = max(app.scheme_buttons(), key=lambda b: b.top)
            self.assertTrue(left <= tenth.left and tenth.right <= right and top <= tenth.top and
                            tenth.bottom <= bottom, (skin, tenth, (left, top, right, bottom)))
            pixels.save_window(pixels.screenshot("whole-" + skin), bar, "whole-bar-" + skin)
            # The bar stays on top: out of sight while the other windows are looked at.
            self.park_bar(aside=True)
            pixels.save_window(pixels.screenshot("whole-" + skin), self.config, "whole-config-" + skin)

            self.menu("alt+o", "s")
            settings = self.dialog("TFormOptionsDirectory")
            self.assert_fits(settings.hwnd, "settings dialog, " + skin)
            if skin == "Blue":
                pointer_to(*self.middle(self.button(settings.hwnd, "OK")))
                self.assertEqual(app.tip_text(), "Apply any changes made to this page.")
            pixels.save_window(pixels.screenshot("whole-settings"), settings, "whole-settings-" + skin)
            pointer_click(self.button(settings.hwnd, "Cancel"))
            wait_for(lambda: not app.find(cls="TFormOptionsDirectory"), what="the settings dialog closed")

            self.menu("alt+h", "a")
            about = self.dialog("TAboutBox")
            self.assert_fits(about.hwnd, "About box, " + skin)
            if skin == "Blue":
                pointer_to(*self.middle(self.button(about.hwnd, "OK")))
                self.assertEqual(app.tip_text(), "Close the About Box")
            pixels.save_window(pixels.screenshot("whole-about"), about, "whole-about-" + skin)
            pointer_click(self.button(about.hwnd, "OK"))
            wait_for(lambda: not app.find(cls="TAboutBox"), what="the About box closed")

            self.menu("alt+o", "t")
            typing = self.dialog("TFormTyping")
            self.assert_fits(typing.hwnd, "Typing dialog, " + skin)
            pointer_click(self.button(typing.hwnd, "Cancel"))
            wait_for(lambda: not app.find(cls="TFormTyping"), what="the Typing dialog closed")
            bar = self.park_bar(aside=False)

        # The long caption shows whole as the hint of its button; a real click on the tenth
        # button types its text.
        tenth = max(app.scheme_buttons(), key=lambda b: b.top)
        pointer_to(*self.middle(tenth))
        self.assertEqual(app.tip_text(), LONG)
        capture(target.click_in)
        pointer_click(tenth)
        self.assertEqual(target.settled_text(), "tenth")

    def park_bar(self, aside):
        """The bar to the screen's right edge (clear of the windows in the middle), or beyond it."""
        bar = self.app.bar()
        left = 1280 - 8 if aside else 1280 - bar.width - 8
        if bar.left == left:
            return bar
        self.prefix.drive("move", bar.hwnd, left, 8, bar.width, bar.height)
        # The program may keep part of it on the screen.
        return wait_for(lambda: self.app.bar().left != bar.left and self.app.bar(), what="the bar moved")

    @staticmethod
    def middle(w):
        return (w.left + w.right) // 2, (w.top + w.bottom) // 2


if __name__ == "__main__":
    unittest.main()
