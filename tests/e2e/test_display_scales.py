"""Whole and crisp at 100, 125, 150 and 200 % display scale. For each resolution a fresh prefix
whose display reports it from its first process on; the program starts there skinned, then
unskinned. In each window a user meets (the bar, the configuration window, the settings dialog,
the About box, the Typing dialog and a question box) every label, push button, check box, radio
button and group box text, measured with the control's own font, fits the control, and the
caption fits the frame; a real click on a bar button types; a message box stands above the bar;
"Unskin" from the menu gives the radio buttons the window's face back; a size stored at 96 comes
back scaled. A screenshot per resolution and skin state is kept in the shots folder, and at 120
and 192 the Skins menu, the box over the bar and the window after "Unskin"."""
import os
import sys
import time
import unittest

import pixels
from ktharness import BASE_KEY, App, Display, Prefix, Target, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey

SCALES = (96, 120, 144, 192)
# Where the Skins menu, the box over the bar and the window after "Unskin" are photographed.
SHOT_SCALES = (120, 192)
# Where a placement stored at 96 is restored.
PLACED_SCALE = 144
# A 1280 x 1024 display: at 192 the configuration window (about 1200 x 1040 pixels as
# designed) is taller than it, and must open cut to it, not past its edge.
SCREEN = (1280, 1024)
SKINS_KEY = BASE_KEY + r"\Options\Skins"
# The configuration window's menu entries by their keyboard marks.
DIALOGS = {"Settings": (("alt+o", "s"), "TFormOptionsDirectory"),
           "About": (("alt+h", "a"), "TAboutBox"),
           "Typing": (("alt+o", "t"), "TFormTyping")}


class DisplayScaleTest(unittest.TestCase):
    def check(self, app, window, what):
        if not (0 <= window.left and 0 <= window.top and window.right <= SCREEN[0] and window.bottom <= SCREEN[1]):
            self.outside.append("%s at %d, %s: %r" % (what, self.dpi, self.state, window))
        dpi, verdicts = app.fit(window.hwnd)
        self.assertEqual(dpi, self.dpi, "the display's resolution as the program sees it")
        self.assertTrue(any(v[1] == "caption" for v in verdicts), "%s has a caption" % what)
        # A control is known by its place among the window's controls: a text may change with
        # the scale (the About box's memory figures).
        for number, (verdict, kind, text, needed, room) in enumerate(verdicts):
            type(self).checked += 1
            if verdict != "ok":
                self.cut[(self.dpi, "%s, %s: %s %d" % (what, self.state, kind, number))] = (text, needed, room)

    def front(self, app, window):
        pointer_to(window.left + 40, window.bottom - 14)  # a free spot of its lower left
        xdo("click", 1)
        wait_for(lambda: app.prefix.drive("foreground").strip() == str(window.hwnd), what="%r in front" % window)

    def open_dialog(self, app, config, name):
        keys, cls = DIALOGS[name]
        self.front(app, config)
        for key in keys:
            xkey(key)
            time.sleep(0.2)
        return wait_for(lambda: app.find(cls=cls), what="the %s dialog" % name)

    def question_box(self, app, config):
        """Delete with a scheme chosen asks a question: the box's texts, then No. The bar, always
        on top, moved over the box: the box stays above it."""
        kids = app.children(config.hwnd)
        listbox = next(c for c in kids if c.cls.lower() == "listbox" and c.visible)
        app.pick(listbox.hwnd, 0)
        delete = min((c for c in kids if c.text.replace("&", "") == "Delete" and c.visible), key=lambda c: c.left)
        pointer_click(delete)
        box = app.wait_dialog()
        if self.state == "skinned":
            wait_for(lambda: app.skinned(box["hwnd"]), what="the box skinned")
        time.sleep(0.3)
        window = next(w for w in app.windows() if w.hwnd == box["hwnd"])
        self.check(app, window, "question box")
        bar = app.bar()
        home = (bar.left, bar.top)
        app.prefix.drive("move", bar.hwnd, window.left + 20, window.top + 10, bar.width, bar.height)
        wait_for(lambda: app.bar().left == window.left + 20, what="the bar over the box")
        order = [w.hwnd for w in app.windows()]  # front to back
        if order.index(bar.hwnd) < order.index(window.hwnd):
            self.hidden_boxes.append((self.dpi, self.state))
        if self.dpi in SHOT_SCALES:
            time.sleep(0.3)
            pixels.save_window(pixels.screenshot("scale-%d-%s-box" % (self.dpi, self.state)), window,
                               "scale-%d-%s-box-over-bar" % (self.dpi, self.state))
        app.prefix.drive("move", bar.hwnd, home[0], home[1], bar.width, bar.height)
        app.click_answer(box, "No")

    def skins_menu_and_skin_off(self, app, config):
        """The "Skins" menu open, then "Unskin": the radio buttons take the window's face again."""
        self.front(app, config)
        xkey("alt+o")
        time.sleep(0.3)
        xdo("key", "k")
        time.sleep(0.6)
        pixels.save_window(pixels.screenshot("scale-%d-skins-menu" % self.dpi), config, "scale-%d-skins-menu" % self.dpi)
        xdo("key", "--delay", "100", "Down", "Down", "Down", "Return")
        wait_for(lambda: not app.skinned(config.hwnd), what="the skin off")
        bar = app.bar()  # off the window for its picture, then back
        app.prefix.drive("move", bar.hwnd, SCREEN[0] - 20, SCREEN[1] - 20, bar.width, bar.height)
        time.sleep(0.6)
        config = app.find(cls="TConfigForm")
        shot = pixels.screenshot("scale-%d-skin-off" % self.dpi)
        pixels.save_window(shot, config, "scale-%d-skin-off-config" % self.dpi)
        # The End Of Line radio buttons show the window's face, not the skin's.
        face = shot.pixel(config.left + 40, config.bottom - 14)  # a free spot of the window
        for r in [c for c in app.children(config.hwnd) if c.text in ("No Action", "Enter", "Tab") and c.visible]:
            self.assertEqual(shot.pixel(r.right - 3, r.top + 2), face, "%s at %d" % (r.text, self.dpi))
        now = app.bar()
        app.prefix.drive("move", now.hwnd, bar.left, bar.top, now.width, now.height)

    def run_state(self, prefix, skin_index, type_too):
        app = App(prefix, start_dir=self.start_dir)
        prefix.ensure_server()
        prefix.reg_add(SKINS_KEY, "SkinIndex", str(skin_index))
        try:
            bar = app.start()
            config = wait_for(lambda: app.find(cls="TConfigForm"), what="the configuration window")
            skinned = skin_index != 3
            wait_for(lambda: app.skinned(config.hwnd) == skinned and app.skinned(bar.hwnd) == skinned,
                     what="the windows %s" % self.state)
            time.sleep(0.5)
            bar, config = app.bar(), app.find(cls="TConfigForm")
            if self.dpi == PLACED_SCALE and not skinned:
                # A placement stored at 96 without its resolution comes back at this scale.
                self.assertEqual((config.width, config.height), (600 * self.dpi // 96, 500 * self.dpi // 96))
            # The bar is made for the scale: its buttons are as much larger as the fonts.
            buttons = [c for c in app.children(bar.hwnd) if c.cls.lower() == "button" and c.visible and c.text
                       in ("Name", "Mail")]
            self.assertEqual(len(buttons), 2)
            self.assertEqual(buttons[0].height, round(25 * self.dpi / 96 + 0.001))
            # Out of the way of the configuration window's lower left, where it is clicked.
            x = SCREEN[0] - bar.width - 8
            prefix.drive("move", bar.hwnd, x, SCREEN[1] - bar.height - 8, bar.width, bar.height)
            wait_for(lambda: app.bar().left == x, what="the bar moved")
            bar = app.bar()
            self.check(app, bar, "bar")
            self.check(app, config, "configuration window")
            time.sleep(0.3)
            shot = pixels.screenshot("scale-%d-%s" % (self.dpi, self.state))
            pixels.save_window(shot, config, "scale-%d-%s-config" % (self.dpi, self.state))
            pixels.save_window(shot, bar, "scale-%d-%s-bar" % (self.dpi, self.state))
            for name in DIALOGS:
                dialog = self.open_dialog(app, config, name)
                if skinned:
                    wait_for(lambda: app.skinned(dialog.hwnd), what="the %s dialog skinned" % name)
                time.sleep(0.3)
                dialog = app.find(cls=DIALOGS[name][1])
                self.check(app, dialog, name + " dialog")
                if name == "About":
                    pixels.save_window(pixels.screenshot("scale-%d-%s-about" % (self.dpi, self.state)), dialog,
                                       "scale-%d-%s-about" % (self.dpi, self.state))
                xkey("Escape")
                wait_for(lambda: not app.find(cls=DIALOGS[name][1]), what="the %s dialog closed" % name)
            self.question_box(app, config)
            if skinned and self.dpi in SHOT_SCALES:
                self.skins_menu_and_skin_off(app, config)
            if type_too:
                target = Target(prefix)
                target.click_in()
                xkey("ctrl+t")
                time.sleep(0.3)
                pointer_click(next(c for c in app.children(bar.hwnd) if c.text == "Mail" and c.visible))
                self.typed[self.dpi] = target.settled_text(quiet=0.6)
        finally:
            app.stop()

    @classmethod
    def setUpClass(cls):
        """One run over every scale and skin state; the tests below judge what it found."""
        self = cls()  # a helper instance for the steps
        cls.cut, cls.checked, cls.typed, cls.hidden_boxes, cls.outside = {}, 0, {}, [], []
        cls.display = Display("us", os.environ.get("LANG") or "C.UTF-8", SCREEN).__enter__()
        try:
            cls.run_scales(self)
        finally:
            cls.display.__exit__(None, None, None)

    @staticmethod
    def run_scales(self):
        for dpi in SCALES:
            self.dpi = dpi
            prefix = Prefix("scale-%d" % dpi, dpi=dpi)
            self.start_dir = App(prefix).start_dir
            write_scheme(os.path.join(self.start_dir, "data"), "button",
                         [("Name", "Jane Doe"), ("Mail", "jane@example.com")], 0)
            if dpi == PLACED_SCALE:
                for name, value in (("WindowState", "Normal"), ("Left", "30"), ("Top", "20"), ("Width", "600"),
                                    ("Height", "500")):
                    prefix.reg_add(BASE_KEY + r"\Windows\Config", name, value)
            for self.state, skin_index in (("skinned", 0), ("unskinned", 3)):
                print("at %d, %s" % (dpi, self.state), file=sys.stderr, flush=True)
                self.run_state(prefix, skin_index, type_too=self.state == "skinned")

    def describe(self, dpi, key):
        text, needed, room = self.cut[(dpi, key)]
        return "%s %r at %d: needs %s, has %s" % (key, text, dpi, needed, room)

    def cut_at(self, dpi):
        return {key for (d, key) in self.cut if d == dpi}

    def test_texts_measured(self):
        self.assertGreater(self.checked, 150)
        with open(os.path.join(pixels.SHOTS, "scale-cut.txt"), "w") as f:
            f.writelines("%d %s %r\n" % (dpi, key, value) for (dpi, key), value in sorted(self.cut.items()))

    def test_nothing_is_cut_at_a_scale_that_is_whole_at_96(self):
        """What the scaling is for: a text that fits at 96 fits at every scale."""
        whole = self.cut_at(96)
        worse = [self.describe(dpi, key) for dpi in SCALES[1:] for key in sorted(self.cut_at(dpi) - whole)]
        self.assertEqual(worse, [], "cut at a scale only:\n" + "\n".join(worse))

    def test_nothing_is_cut_at_any_scale(self):
        cut = [self.describe(dpi, key) for (dpi, key) in sorted(self.cut)]
        self.assertEqual(cut, [], "cut:\n" + "\n".join(cut))

    def test_every_window_opens_inside_the_screen(self):
        self.assertEqual(self.outside, [])

    def test_a_message_box_stands_above_the_bar(self):
        self.assertEqual(self.hidden_boxes, [])

    def test_a_click_on_a_bar_button_types_at_each_scale(self):
        self.assertEqual(self.typed, {dpi: "jane@example.com" for dpi in SCALES})


if __name__ == "__main__":
    unittest.main()
