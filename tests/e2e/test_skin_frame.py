"""Skinned frames on the real program: the Blue skin at a first start, its caption and title
buttons on screen, and the caption mouse driven with the real pointer."""
import os
import time
import unittest

import pixels
from ktharness import App, BASE_KEY, Prefix, pointer_to, wait_for, write_scheme, xdo


def skinned(app, hwnd):
    return app.skinned(hwnd)


def press_drag(x, y, dx, dy):
    pointer_to(x, y)
    xdo("mousedown", 1)
    for step in (1, 2, 3, 4):
        pointer_to(x + dx * step // 4, y + dy * step // 4)
        time.sleep(0.05)
    xdo("mouseup", 1)


def click_at(x, y, button=1, repeat=1):
    pointer_to(x, y)
    time.sleep(0.1)
    xdo("click", "--repeat", repeat, "--delay", 80, button)


class SkinFrameTest(unittest.TestCase):
    def setUp(self):
        pointer_to(5, 1000)  # off the windows, so no title button shows its hot state
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        if "box" not in self.id():
            write_scheme(os.path.join(self.app.start_dir, "data"), "button", [], -1)

    def tearDown(self):
        self.app.stop()

    def start_skinned(self):
        bar = self.app.start()
        config = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        for w in (bar, config):
            wait_for(lambda: skinned(self.app, w.hwnd), what="a skinned frame on %r" % w)
        time.sleep(0.5)  # the frames settle (size, region) after the attachment
        self.app.bar_aside()  # beside the window, it would cover its title buttons once moved
        return self.app.bar(), self.app.find(cls="TConfigForm")

    def window(self, hwnd):
        return wait_for(lambda: next((w for w in self.app.windows() if w.hwnd == hwnd), None), what="window")

    def settled(self, hwnd):
        """The window once it has stopped moving (a drag's last steps may still be on their way)."""
        last = None
        for _ in range(30):
            now = self.window(hwnd)
            if last and (now.left, now.top, now.width, now.height) == (last.left, last.top, last.width, last.height):
                return now
            last = now
            time.sleep(0.2)
        return last

    def assert_caption_from_top_picture(self, shot, w, x):
        self.assertTrue(pixels.caption_shows_top_picture(shot, w, x, "Blue"), "the caption of %r is not the skin's Top picture" % w)

    def assert_close_button(self, shot, w):
        close = pixels.skin_picture("Blue", "btnclose.bmp")
        bw = close.width // 4
        left, top = w.left + w.width - 24, w.top + 4
        best = 0
        for frame in range(4):  # normal, pressed, hot, inactive
            hits = total = 0
            for y in range(close.height):
                for x in range(bw):
                    p = close.pixel(frame * bw + x, y)
                    if p == (255, 0, 255):
                        continue
                    total += 1
                    hits += pixels.near(shot.pixel(left + x, top + y), p, 2)
            best = max(best, hits / max(total, 1))
        self.assertGreater(best, 0.9, "no close button where the layout puts it on %r" % w)

    def test_the_bar_and_the_configuration_window_wear_blue_frames(self):
        bar, config = self.start_skinned()
        # The bar keeps the client area it has under the system frame (see the unskinned test);
        # its instruction label grows as its font needs, and the bar with it.
        self.assertEqual((bar.client_width, bar.client_height), (196, 113 + self.app.label_growth()))
        shot = pixels.screenshot("skin-frame-Blue")
        pixels.save_window(shot, bar, "skin-bar-Blue")
        pixels.save_window(shot, config, "skin-config-Blue")
        self.assert_caption_from_top_picture(shot, bar, bar.width - 75)
        self.assert_caption_from_top_picture(shot, config, config.width // 2)
        self.assert_close_button(shot, bar)
        self.assert_close_button(shot, config)

    def test_title_buttons_and_the_caption_answer_the_real_pointer(self):
        bar, config = self.start_skinned()
        c = config
        # Maximise, then restore, with the title buttons (the second from the right).
        click_at(c.left + c.width - 44 + 8, c.top + 4 + 8)
        c = wait_for(lambda: (lambda w: w if w.state == 2 else None)(self.window(config.hwnd)), what="maximised")
        click_at(c.left + c.width - 44 + 8, c.top + 4 + 8)
        c = wait_for(lambda: (lambda w: w if w.state == 0 else None)(self.window(config.hwnd)), what="restored")
        # A double click on the caption maximises; another restores.
        click_at(c.left + c.width // 2, c.top + 12, repeat=2)
        c = wait_for(lambda: (lambda w: w if w.state == 2 else None)(self.window(config.hwnd)), what="maximised")
        time.sleep(0.3)
        click_at(c.left + c.width // 2, c.top + 12, repeat=2)
        c = wait_for(lambda: (lambda w: w if w.state == 0 else None)(self.window(config.hwnd)), what="restored")
        time.sleep(0.3)
        # So does a double click on a border: the left edge, then the maximised window's bottom edge.
        click_at(c.left + 2, c.top + c.height // 2, repeat=2)
        m = wait_for(lambda: (lambda w: w if w.state == 2 else None)(self.window(config.hwnd)), what="maximised")
        time.sleep(0.3)
        click_at(m.left + m.width // 2, m.bottom - 2, repeat=2)
        c = wait_for(lambda: (lambda w: w if w.state == 0 else None)(self.window(config.hwnd)), what="restored")
        time.sleep(0.3)
        # Dragging the caption moves the window; dragging the right edge resizes it.
        press_drag(c.left + c.width // 2, c.top + 12, 60, 40)
        moved = self.settled(c.hwnd)
        self.assertLessEqual(abs(moved.left - c.left - 60), 2, (moved, c))
        self.assertLessEqual(abs(moved.top - c.top - 40), 2)
        self.assertEqual((moved.width, moved.height), (c.width, c.height))
        press_drag(moved.right - 2, moved.top + moved.height // 2, 50, 0)
        sized = self.settled(c.hwnd)
        self.assertLessEqual(abs(sized.width - moved.width - 50), 3)
        self.assertEqual(sized.left, moved.left)
        # A right click on the caption opens the system menu.
        click_at(sized.left + sized.width // 2, sized.top + 12, button=3)
        menu = wait_for(lambda: self.app.find(cls="#32768"), what="the system menu")
        self.assertTrue(menu.visible)
        xdo("key", "Escape")
        wait_for(lambda: self.app.find(cls="#32768") is None, what="the menu to close")
        # Minimise with its button.
        click_at(sized.left + sized.width - 64 + 8, sized.top + 4 + 8)
        wait_for(lambda: self.window(c.hwnd).state == 1, what="minimised")
        # The bar's close button hides the bar (it is never closed).
        click_at(bar.left + bar.width - 24 + 8, bar.top + 4 + 8)
        wait_for(lambda: self.app.bar() is None, what="the bar to hide")
        self.assertIsNotNone(self.app.bar(visible=False))

    def test_a_message_box_is_skinned(self):
        # No scheme file yet: the bar says so in a box, after it has chosen its skin.
        self.app.start(wait=False)
        box = self.app.wait_dialog()
        wait_for(lambda: skinned(self.app, box["hwnd"]), what="a skinned message box")
        time.sleep(0.3)
        w = self.window(box["hwnd"])
        shot = pixels.screenshot("skin-box-Blue")
        pixels.save_window(shot, w, "skin-messagebox-Blue")
        # Left of the text: a box's text background reaches to its buttons.
        self.assert_caption_from_top_picture(shot, w, 25)
        self.app.click_answer(box, "OK")

    def test_the_settings_dialog_is_skinned(self):
        bar, config = self.start_skinned()
        click_at(config.left + 40, config.bottom - 16)  # a free spot of the window
        xdo("key", "alt+o")
        time.sleep(0.3)
        xdo("key", "s")
        dialog = wait_for(lambda: self.app.find(cls="TFormOptionsDirectory"), what="the settings dialog")
        wait_for(lambda: skinned(self.app, dialog.hwnd), what="a skinned settings dialog")
        time.sleep(0.5)
        dialog = self.window(dialog.hwnd)
        shot = pixels.screenshot("skin-settings-Blue")
        pixels.save_window(shot, dialog, "skin-settings-Blue")
        self.assert_caption_from_top_picture(shot, dialog, 25)
        self.assert_close_button(shot, dialog)
        xdo("key", "Escape")
        wait_for(lambda: self.app.find(cls="TFormOptionsDirectory") is None, what="the dialog to close")

    def test_stored_index_three_starts_with_system_frames_and_the_same_client(self):
        self.prefix.reg_add(BASE_KEY + r"\Options\Skins", "SkinIndex", "3")
        bar = self.app.start()
        self.app.answers_input()
        self.assertFalse(skinned(self.app, bar.hwnd))
        bar = self.app.bar()
        self.assertEqual((bar.client_width, bar.client_height), (196, 113 + self.app.label_growth()))
