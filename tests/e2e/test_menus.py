"""Skinned menus with real input: the configuration window's menu bar drawn in its skinned frame,
its drop-downs by keyboard and mouse, and the notification icon's menu, in each built-in skin."""
import os
import time
import unittest

import pixels
from ktharness import App, BASE_KEY, Prefix, pointer_to, wait_for, write_scheme, xdo, xkey

SKINS = ["Blue", "Silver", "Green"]


def skin_pixel(name, picture, x, y):
    return pixels.skin_picture(name, picture).pixel(x, y)


def skin_colour(name, key):
    with open(os.path.join(pixels.SKIN_SOURCES, name, name.lower() + ".ini"), encoding="latin-1") as f:
        for line in f:
            if line.startswith(key + "="):
                return tuple(int(v) for v in line.split("=", 1)[1].split())
    raise KeyError(key)


class SkinnedMenuTest(unittest.TestCase):
    def start(self, skin_index=0):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.addCleanup(self.app.stop)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("One", "one")], 1)
        self.prefix.ensure_server()
        self.prefix.reg_add(BASE_KEY + r"\Options\Skins", "SkinIndex", str(skin_index))
        bar = self.app.start()
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        # The frame takes the menu off the window once the skin is applied.
        wait_for(lambda: self.prefix.drive("menu", cfg.hwnd).split("\t")[1] == "0", what="the skinned menu bar")
        return bar, cfg

    def front(self, w):
        """A click on the window's blank lower left brings it to the front."""
        self.app.to_front(next(x for x in self.app.windows() if x.hwnd == w.hwnd))

    def menus(self):
        return [w for w in self.app.windows() if w.cls == "#32768" and w.visible]

    def wait_menus(self, n, height=None):
        def ok():
            m = self.menus()
            return m if len(m) == n and (height is None or m[-1].height == height) else None
        return wait_for(ok, what="%d open menus%s" % (n, "" if height is None else " of height %d" % height))

    def close_all(self):
        while self.menus():
            xkey("Escape")
            time.sleep(0.2)

    def drop_downs(self):
        """Opens each top-level menu with Alt+letter: its drop-down's height and position."""
        found = {}
        for name, key in (("File", "f"), ("Internet", "i"), ("Options", "o"), ("Help", "h")):
            xkey("alt+" + key)
            menu = self.wait_menus(1)[0]
            found[name] = menu
            xkey("Escape")
            wait_for(lambda: not self.menus(), what="the drop-down closed")
        heights = [m.height for m in found.values()]
        self.assertEqual(len(set(heights)), 4, heights)
        return found

    def test_menu_bar_by_keyboard_and_mouse(self):
        _, cfg = self.start()
        self.front(cfg)
        downs = self.drop_downs()
        order = ["File", "Internet", "Options", "Help"]

        # Alt+O then K: "S&kins" opens beside "Options" (owner-drawn items still take their letter).
        xkey("alt+o")
        self.wait_menus(1, downs["Options"].height)
        xkey("k")
        self.wait_menus(2)
        xkey("Escape")
        self.wait_menus(1, downs["Options"].height)
        xkey("Escape")
        wait_for(lambda: not self.menus(), what="the drop-downs closed")

        # The arrows walk to the last menu and wrap to the first; Left wraps back.
        xkey("alt+f")
        self.wait_menus(1, downs["File"].height)
        for name in order[1:] + ["File"]:
            xkey("Right")
            self.wait_menus(1, downs[name].height)
        xkey("Left")
        self.wait_menus(1, downs["Help"].height)
        shot = pixels.screenshot("menu-dropdown-keys")
        self.close_all()

        # Chosen by keyboard: Help > About.
        xkey("alt+h")
        self.wait_menus(1, downs["Help"].height)
        xkey("a")
        about = wait_for(lambda: self.app.find(cls="TAboutBox"), what="the About box")
        self.app.click(next(k.hwnd for k in self.app.children(about.hwnd) if k.text.replace("&", "") == "OK"))
        wait_for(lambda: not self.app.find(cls="TAboutBox"), what="the About box closed")

        # By mouse: the File item lies just above its drop-down's top-left corner.
        self.front(cfg)
        file_x, bar_y = downs["File"].left + 8, downs["File"].top - 6
        pointer_to(file_x, bar_y)
        time.sleep(0.2)
        xdo("click", 1)
        self.wait_menus(1, downs["File"].height)
        # Moving over another item of the bar switches to its drop-down.
        pointer_to(downs["Help"].left + 8, bar_y)
        self.wait_menus(1, downs["Help"].height)
        pointer_to(file_x, bar_y)
        menu = self.wait_menus(1, downs["File"].height)[0]
        pointer_to(menu.left + menu.width // 2, (menu.top + menu.bottom) // 2)
        time.sleep(0.2)
        xdo("click", 1)
        # File > Exit hides the configuration window.
        wait_for(lambda: not self.app.find(cls="TConfigForm"), what="the configuration window hidden")

    def test_alt_or_f10_alone_then_the_arrows_work_the_menu_bar_skinned_and_unskinned(self):
        for index in (0, 3):  # Blue, then no skin
            with self.subTest(skinned=index == 0):
                if index == 3:
                    if hasattr(self, "app"):
                        self.app.stop()
                    self.prefix = Prefix(self.id().rsplit(".", 1)[-1] + "-plain")
                    self.app = App(self.prefix)
                    self.addCleanup(self.app.stop)
                    write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("One", "one")], 1)
                    self.prefix.reg_add(BASE_KEY + r"\Options\Skins", "SkinIndex", "3")
                    self.app.start()
                    cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
                else:
                    _, cfg = self.start(index)
                pointer_to(640, 950)  # off the menus: a pointer resting on one takes it over
                self.front(cfg)
                downs = self.drop_downs()

                def leave_menu_mode():
                    """A click on the window's blank lower left: after Esc the system's bar may
                    still hold a selection, which the next Alt would only clear."""
                    pointer_to(cfg.left + 50, cfg.bottom - 16)
                    xdo("click", 1)
                    pointer_to(640, 950)

                leave_menu_mode()
                for key in ("alt", "F10"):
                    xkey(key)
                    time.sleep(0.3)
                    xkey("Down")  # the first item, "File", opens
                    self.wait_menus(1, downs["File"].height)
                    xkey("Escape")
                    wait_for(lambda: not self.menus(), what="the drop-down closed")
                    leave_menu_mode()
                # Alt, Right, Right, Enter: the third menu, "Options".
                xkey("alt")
                time.sleep(0.3)
                xkey("Right")
                xkey("Right")
                xkey("Return")
                self.wait_menus(1, downs["Options"].height)
                self.close_all()

                # The system menu offers Maximize, Restore and Minimize as the window is.
                for key, state in (("x", 2), ("r", 0), ("n", 1)):
                    self.front(cfg)
                    cfg = self.app.find(cls="TConfigForm")
                    # The caption's icon opens the system menu, skinned and unskinned alike.
                    pointer_to(cfg.left + 10, cfg.top + 10)
                    xdo("click", 1)
                    self.wait_menus(1)
                    xkey(key)
                    wait_for(lambda: self.app.find(cls="TConfigForm").state == state,
                             what="window state %d by the system menu's %r" % (state, key))

    def test_skinned_menus_in_each_builtin_skin(self):
        for index, name in enumerate(SKINS):
            with self.subTest(skin=name):
                self.check_skin(index, name)

    def check_skin(self, index, name):
        bar, cfg = self.start(index)
        menu_colour = skin_colour(name, "Menu")
        text_colour = skin_colour(name, "MenuText")

        self.front(cfg)
        xkey("alt+h")
        menu = self.wait_menus(1)[0]
        time.sleep(0.4)
        shot = pixels.screenshot("menu-dropdown-%s" % name)
        inside = shot.pixels(menu.left, menu.top, menu.width, menu.height)
        self.assertIn(text_colour, inside, "the skin's menu text colour")
        # Near the right edge, below the selected first item, the background is the skin's menu colour.
        right = shot.pixels(menu.right - 8, menu.top + menu.height - 12, 1, 1)[0]
        self.assertEqual(right, menu_colour)
        # The border: the outer two columns of the skin's menu background picture (40 wide).
        for menu_x, picture_x in ((menu.right - 1, 39), (menu.right - 2, 38)):
            self.assertEqual(shot.pixels(menu_x, menu.top + menu.height // 2, 1, 1)[0],
                             skin_pixel(name, "menuback.bmp", picture_x, 20))
        self.close_all()

        self.app.open_tray_menu()
        tray = self.wait_menus(1)[0]
        time.sleep(0.4)
        shot = pixels.screenshot("menu-tray-%s" % name)
        # The items' own drawing is kept: the grey strip with the upward name.
        strip = shot.pixels(tray.left + 16, tray.top + 78, 3, 10)
        self.assertTrue(all(p == (128, 128, 128) for p in strip), strip[:4])
        # The border around them comes from the skin.
        for tray_x, picture_x in ((tray.right - 1, 39), (tray.right - 2, 38)):
            self.assertEqual(shot.pixels(tray_x, tray.top + tray.height // 2, 1, 1)[0],
                             skin_pixel(name, "menuback.bmp", picture_x, 20))
        self.app.close_menu()
        # "Exit" ends the program.
        self.app.tray_choose("Exit")
        self.app.proc.wait(timeout=20)
        self.app.stop()


if __name__ == "__main__":
    unittest.main()
