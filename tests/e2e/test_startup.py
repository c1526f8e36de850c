"""The bar's start-up in a fresh prefix: first-run settings, placement restore and save."""
import os
import subprocess
import unittest

from ktharness import App, BASE_KEY, BIN, Prefix, unix_to_wine, wait_for, screen_size, write_scheme

BUTTON_KEY = BASE_KEY + r"\Windows\Button"


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        if "first_start" not in self.id():
            # An empty scheme: no buttons, and no box about a missing scheme file.
            write_scheme(os.path.join(self.app.start_dir, "data"), "button", [], -1)
        # Sizes here are those of the system frame; a skinned frame keeps the client area
        # (test_skin_frame) and so changes the outer size by the skin's margins.
        self.prefix.reg_add(BASE_KEY + r"\Options\Skins", "SkinIndex", "3")

    def tearDown(self):
        self.app.stop()

    def close_bar(self, bar):
        """Alt+F4 on the bar, brought to the front by a click on its label."""
        label = next(c for c in self.app.children(bar.hwnd) if c.text.startswith("Press Ctrl+T"))
        self.app.close_with_keys(bar, (label.left + label.right) // 2, (label.top + label.bottom) // 2)
        wait_for(lambda: self.app.bar() is None, what="the bar to hide")

    def beside_config(self):
        """Nothing stored: the bar beside the configuration window (centred on the desktop), inside the screen."""
        cfg = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")
        bar = wait_for(lambda: (lambda b: (b.left >= cfg.right or b.right <= cfg.left) and b)(self.app.bar()),
                       what="the bar beside the configuration window")
        sw, sh = screen_size()
        self.assertLessEqual(abs(cfg.left - (sw - cfg.width) // 2), 1)
        self.assertTrue(0 <= bar.left and bar.right <= sw and cfg.top <= bar.top and bar.bottom <= sh)
        return bar

    def placement(self, state, top, left, width, height):
        p = self.prefix
        p.reg_add(BUTTON_KEY, "WindowState", state)
        for name, value in (("Top", top), ("Left", left), ("Width", width), ("Height", height)):
            p.reg_add(BUTTON_KEY, name, str(value))

    def test_first_start_stores_defaults_in_placeholder_form_and_shows_the_bar(self):
        self.assertFalse(os.path.exists(os.path.join(self.app.start_dir, "data")))
        self.app.start(wait=False)
        # No scheme yet: the bar says so before it shows.
        box = self.app.wait_dialog()
        self.assertTrue(" ".join(box["texts"]).startswith("Cannot find button file: "))
        self.app.answer(box, "OK")
        bar = self.app.wait_bar()
        start = unix_to_wine(self.app.start_dir)[2:]  # without the drive
        path = self.prefix.reg_query(BASE_KEY + r"\Path")
        self.assertEqual(path["PathApp"], ("REG_SZ", "%systemroot%" + start))
        self.assertEqual(path["InitialDir"], ("REG_SZ", "%systemroot%" + start))
        self.assertEqual(path["CurrentDir"], ("REG_SZ", "%systemroot%" + start))
        self.assertEqual(path["OutputDir"], ("REG_SZ", "%systemroot%" + start + r"\data"))
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "button.dat")
        self.assertTrue(os.path.isdir(os.path.join(self.app.start_dir, "data")))

        self.assertEqual(bar.text, "Ketravo")
        self.assertTrue(bar.topmost)
        self.assertEqual((bar.width, bar.height), (204, 140 + self.app.label_growth()))
        bar = self.beside_config()

        kids = {c.text: c for c in self.app.children(bar.hwnd)}
        self.assertIn("Press Ctrl+T on the Window where you want the typing to appear", kids)
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"]
        self.assertEqual(len(combo), 1)
        self.assertEqual(combo[0].text, "button")

    def test_existing_values_are_not_rewritten_and_the_placeholder_takes_the_start_drive(self):
        self.prefix.reg_add(BASE_KEY + r"\Path", "PathApp", r"Q:\literal")
        self.prefix.reg_add(BASE_KEY + r"\File", "Filename", "home.dat")
        write_scheme(os.path.join(self.app.start_dir, "schemes"), "home", [], -1)
        self.prefix.reg_add(BASE_KEY + r"\Path", "OutputDir", "%systemroot%" + unix_to_wine(self.app.start_dir)[2:] + r"\schemes")
        bar = self.app.start()
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\Path", "OutputDir"),
                         "%systemroot%" + unix_to_wine(self.app.start_dir)[2:] + r"\schemes")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\Path", "PathApp"), r"Q:\literal")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "home.dat")
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        self.assertEqual(combo.text, "home")

    def test_closing_saves_the_placement_and_the_next_start_restores_it(self):
        bar = self.app.start()
        self.prefix.drive("move", bar.hwnd, 300, 200, 260, 190)
        wait_for(lambda: (self.app.bar().left, self.app.bar().top) == (300, 200), what="the move")
        self.close_bar(self.app.bar())
        saved = self.prefix.reg_query(BUTTON_KEY)
        self.assertEqual(saved["WindowState"][1], "Normal")
        self.assertEqual((saved["Top"][1], saved["Left"][1], saved["Width"][1], saved["Height"][1]),
                         ("200", "300", "260", "190"))
        # The bar was only hidden: the program still runs.
        self.assertIsNotNone(self.app.bar(visible=False))

        self.app.stop()
        self.app = App(self.prefix, self.app.start_dir)
        bar = self.app.start()
        # Left, Top and Width come back; the height is the base height again.
        self.assertEqual((bar.left, bar.top, bar.width, bar.height), (300, 200, 260, 140 + self.app.label_growth()))

    def test_the_bar_holds_ctrl_t_until_it_is_closed(self):
        bar = self.app.start()
        self.assertEqual(self.prefix.drive("hotkey").strip(), "taken")
        self.close_bar(bar)
        self.assertEqual(self.prefix.drive("hotkey").strip(), "free")

    def test_stored_defaults_put_the_bar_beside_the_window_and_other_values_place_it(self):
        self.placement("Normal", 244, 14, 204, 161)
        self.app.start()
        self.beside_config()
        self.app.stop()

        self.placement("Normal", 244, 15, 204, 161)
        self.app = App(self.prefix, self.app.start_dir)
        bar = self.app.start()
        self.assertEqual((bar.left, bar.top, bar.width), (15, 244, 204))

    def test_maximized_start_reads_no_numbers_and_writes_only_the_state(self):
        self.placement("Maximized", "bad", "bad", "bad", "bad")
        bar = self.app.start()
        self.assertEqual(bar.state, 2)
        self.close_bar(bar)
        self.assertEqual(self.app.dialogs(), [])  # the bad numbers were never read
        saved = self.prefix.reg_query(BUTTON_KEY)
        self.assertEqual(saved["WindowState"][1], "Maximized")
        self.assertEqual(saved["Top"][1], "bad")
        self.assertEqual(saved["Height"][1], "bad")

    def test_a_corrupt_number_is_reported_by_name_and_costs_only_itself(self):
        self.placement("Normal", "12abc", 40, 204, 161)
        self.app.start(wait=False)
        box = self.app.wait_dialog()
        self.assertIn("'12abc' is not a valid integer value (setting Windows\\Button\\Top)", " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        bar = self.app.wait_bar()
        self.assertEqual((bar.left, bar.top), (40, 244))
        self.assertTrue(bar.topmost)

    def test_the_icon_is_in_place_before_the_bar_shows_and_the_bar_keeps_the_activation(self):
        # Without a tray on the display, Wine shows a stand-in tray window for the first icon;
        # had it come after the bar, it would have taken the activation from it.
        bar = self.app.start()
        tray = subprocess.run(["xdotool", "search", "--name", "Wine System Tray"], capture_output=True, text=True,
                              timeout=10).stdout.split()
        self.assertTrue(tray, "no stand-in tray window: this check needs a display without a tray")
        # Mapped and shown: the window manager has dealt with it (a new window takes the
        # activation as it is mapped), so an activation taken from the bar would show now.
        wait_for(lambda: "IsViewable" in subprocess.run(["xwininfo", "-id", tray[0]], capture_output=True, text=True,
                                                        timeout=10).stdout, what="the tray window shown")
        active = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True, text=True,
                                timeout=10).stdout.strip()
        self.assertEqual(active, "Ketravo")
        self.assertEqual(self.prefix.drive("foreground").strip(), str(bar.hwnd))

    def test_a_second_start_brings_the_running_bar_forward_and_ends(self):
        bar = self.app.start()
        self.close_bar(bar)
        second = subprocess.run(["wine", os.path.join(BIN, "KTRAVO.exe")], cwd=self.app.start_dir,
                                env=self.prefix.env, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertEqual(second.returncode, 0)
        shown = self.app.wait_bar()
        self.assertEqual(shown.hwnd, bar.hwnd)
        wait_for(lambda: self.prefix.drive("foreground").strip() == str(bar.hwnd), what="the bar in front")
        bars = [w for w in self.app.windows() if w.cls == "TButtonForm"]
        self.assertEqual(len(bars), 1)
        self.assertEqual(len({w.pid for w in self.app.windows() if w.cls.startswith("T")}), 1)


if __name__ == "__main__":
    unittest.main()
