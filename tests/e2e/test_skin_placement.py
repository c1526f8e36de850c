"""Window sizes under skins: starts and closes, skin/unskin toggles and placements carried from
one frame to another keep every window's client area, and the stored placement with it."""
import os
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, pointer_click, wait_for, write_scheme, xdo, xkey

SKINS_KEY = BASE_KEY + r"\Options\Skins"
CONFIG_KEY = BASE_KEY + r"\Windows\Config"
SKIN_ENTRIES = ["Blue", "Silver", "Green", "Unskin", "Load"]


class SkinPlacementTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("Name", "Jane Doe")], 0)

    def tearDown(self):
        self.app.stop()

    def windows(self, skinned):
        """The bar and the configuration window once their frames are on (or off) and their
        sizes have stopped changing."""
        bar = self.app.wait_bar()
        config = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        for w in (bar, config):
            wait_for(lambda: self.app.skinned(w.hwnd) == skinned, what="skin %s on %r" % (skinned, w))
        last = None
        for _ in range(50):
            now = (self.app.bar(), self.app.find(cls="TConfigForm"))
            if last and self.sizes(*now) == self.sizes(*last):
                return now
            last = now
            time.sleep(0.3)
        return last

    @staticmethod
    def sizes(*windows):
        return [(w.width, w.height, w.client_width, w.client_height) for w in windows]

    def stored(self):
        values = self.prefix.reg_query(CONFIG_KEY) or {}
        return tuple(values.get(k, ("", None))[1] for k in ("Left", "Top", "Width", "Height"))

    def focus_config(self, config):
        pointer_click(type("Spot", (), dict(left=config.left + 40, right=config.left + 60,
                                            top=config.bottom - 20, bottom=config.bottom - 12))())
        wait_for(lambda: int(self.prefix.drive("foreground").strip()) == config.hwnd, what="the window in front")

    def close_config(self, config):
        """Alt+F4, as the user closes it: it hides and stores its placement."""
        before = self.stored()
        self.focus_config(config)
        xkey("alt+F4")
        wait_for(lambda: not self.app.find(cls="TConfigForm"), what="the configuration window to close")
        return before

    def start_and_close(self, index):
        self.prefix.reg_add(SKINS_KEY, "SkinIndex", str(index))
        self.app.start()
        bar, config = self.windows(index != 3)
        self.close_config(config)
        stored = wait_for(lambda: self.stored()[3] and self.stored(), what="the placement stored")
        self.app.stop()
        return config, stored

    def choose(self, config, entry):
        """Options > Skins > entry, with the keyboard."""
        self.focus_config(config)
        xkey("alt+o")
        wait_for(lambda: self.app.find(cls="#32768"), what="the Options menu")
        xdo("key", "k")
        time.sleep(0.2)
        for _ in range(SKIN_ENTRIES.index(entry)):
            xdo("key", "Down")
        xdo("key", "Return")

    def test_five_starts_and_closes_under_each_builtin_skin_keep_size_and_placement(self):
        for index, skin in enumerate(("Blue", "Silver", "Green")):
            with self.subTest(skin=skin):
                runs = [self.start_and_close(index) for _ in range(5)]
                self.assertEqual({self.sizes(c)[0] for c, _ in runs}, {self.sizes(runs[0][0])[0]}, skin)
                self.assertEqual({s for _, s in runs}, {runs[0][1]}, skin)

    def test_a_placement_keeps_the_client_from_unskinned_to_skinned_and_back(self):
        config, stored = self.start_and_close(3)
        client = self.sizes(config)[0][2:]
        for index in (0, 2, 3):
            config, now = self.start_and_close(index)
            self.assertEqual(self.sizes(config)[0][2:], client, index)
            self.assertEqual(now, stored, index)
        self.assertEqual(self.sizes(config)[0][:2], (config.width, config.height))

    def test_skin_and_unskin_toggles_change_no_window_size(self):
        self.app.start()
        bar, config = self.windows(True)
        skinned = self.sizes(bar, config)
        for n in range(25):
            self.choose(config, "Unskin")
            bar, config = self.windows(False)
            clients = [s[2:] for s in self.sizes(bar, config)]
            self.assertEqual(clients, [s[2:] for s in skinned], "unskinned, toggle %d" % n)
            self.choose(config, "Unskin")
            bar, config = self.windows(True)
            self.assertEqual(self.sizes(bar, config), skinned, "skinned again, toggle %d" % n)


if __name__ == "__main__":
    unittest.main()
