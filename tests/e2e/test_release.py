"""The release as a user gets it: the installer, silent, in a fresh prefix, and the portable zip
unpacked into a folder whose path has blanks and an accented letter."""
import glob
import os
import subprocess
import time
import unittest
import zipfile

import pixels
from ktharness import (App, BASE_KEY, BIN, Prefix, Target, capture, pointer_click, pointer_to, unix_to_wine, wait_for,
                       xdo)

BUILD = os.environ.get("KT_BUILD", os.path.dirname(BIN))
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


class ReleaseTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.drive_c = os.path.join(self.prefix.path, "drive_c")
        self.app = None

    def tearDown(self):
        if self.app:
            self.app.stop()

    def start_and_type(self, start_dir, exe):
        """Starts the program, captures a target with a real click and Ctrl+T, clicks the sample
        scheme's "Street" button; returns the bar."""
        target = Target(self.prefix)
        self.app = App(self.prefix, start_dir=start_dir, exe=exe)
        bar = self.app.start()
        # It wears the built-in Blue skin (a first start).
        wait_for(lambda: self.app.skinned(bar.hwnd), what="the skinned bar")
        time.sleep(0.5)
        bar = self.app.bar()
        self.assertTrue(pixels.caption_shows_top_picture(pixels.screenshot("release-bar"), bar, 25, "Blue"))
        buttons = {b.text: b for b in self.app.scheme_buttons(bar)}
        self.assertEqual(sorted(buttons), ["Mail", "Name", "Street", "Town"])
        capture(target.click_in)
        pointer_click(buttons["Street"])
        self.assertEqual(target.settled_text(), "Market Street 12\r\n")
        return bar

    def on_drive_c(self, path):
        return "%systemroot%\\" + os.path.relpath(path, self.drive_c).replace("/", "\\")

    def stored_folder(self, name):
        """A "Path" value, exported as UTF-16 ("reg query" prints the console's code page)."""
        out = os.path.join(self.prefix.path, "path.reg")
        self.prefix.wine("reg", "export", BASE_KEY + r"\Path", unix_to_wine(out), "/y")
        with open(out, encoding="utf-16") as f:
            for line in f:
                if line.startswith('"%s"=' % name):
                    return line.split("=", 1)[1].strip().strip('"').replace("\\\\", "\\")
        return None

    def check_version_and_manifest(self, exe):
        fields = dict(line.split("\t", 1) for line in self.prefix.drive("version", unix_to_wine(exe)).splitlines())
        self.assertEqual((fields.get("ProductName"), fields.get("FileVersion"), fields.get("ProductVersion")),
                         ("Ketravo", "1.1.0.0", "1.1"))
        manifest = fields.get("manifest", "")
        for part in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', 'level="asInvoker"',
                     'WindowsSettings">true</dpiAware>'):
            self.assertIn(part, manifest)

    def uninstaller(self):
        """The uninstaller's window; its title names the page."""
        return next((w for w in self.app.windows() if w.visible and w.text.startswith("Ketravo 1.1 Uninstall")), None)

    def config_window(self):
        return wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")

    def test_silent_install_start_type_and_silent_uninstall_keeping_the_schemes(self):
        setup = os.path.join(BUILD, "Ketravo-1.1-setup.exe")
        self.prefix.wine(setup, "/S", timeout=120)
        program = os.path.join(self.drive_c, "Program Files", "Ketravo")
        for f in ("KTRAVO.exe", "uninstall.exe", "README.txt", "LICENSE.txt", "help/contents.html"):
            self.assertTrue(os.path.isfile(os.path.join(program, f)), f)
        self.check_version_and_manifest(os.path.join(program, "KTRAVO.exe"))
        links = glob.glob(os.path.join(self.drive_c, "users", "*", "AppData", "Roaming", "Microsoft", "Windows",
                                       "Start Menu", "Programs", "Ketravo", "Ketravo.lnk"))
        self.assertEqual(len(links), 1)
        # The shortcut's start folder holds the user's schemes (the sample one to begin with).
        home = os.path.join(links[0].split(os.sep + "Microsoft" + os.sep)[0], "Ketravo")
        schemes = os.path.join(home, "data")
        self.assertTrue(os.path.isfile(os.path.join(schemes, "button.dat")))

        self.start_and_type(home, os.path.join(program, "KTRAVO.exe"))
        self.assertEqual(self.stored_folder("OutputDir"), self.on_drive_c(schemes))
        # Start with Windows names the installed program, quoted for the blank in its path.
        cfg = self.config_window()
        load = {k.text: k for k in self.app.children(cfg.hwnd)}["Load Ketravo at startup"]
        pointer_click(load)
        wait_for(lambda: self.prefix.reg_value(RUN_KEY, "Ketravo") == r'"C:\Program Files\Ketravo\KTRAVO.exe"',
                 what="the Run value")
        self.app.stop()
        self.app = None

        self.prefix.wine(os.path.join(program, "uninstall.exe"), "/S", timeout=60)
        # The uninstaller runs on from a copy of itself: wait for its work.
        wait_for(lambda: not os.path.exists(program), timeout=60, what="the program folder removed")
        self.assertFalse(os.path.exists(os.path.dirname(links[0])))
        self.assertIsNone(self.prefix.reg_value(RUN_KEY, "Ketravo"))
        self.assertTrue(os.path.isfile(os.path.join(schemes, "button.dat")))
        self.assertIsNotNone(self.prefix.reg_query(BASE_KEY + r"\Path"))

    def test_uninstall_with_the_box_ticked_removes_schemes_and_settings(self):
        self.prefix.wine(os.path.join(BUILD, "Ketravo-1.1-setup.exe"), "/S", timeout=120)
        program = os.path.join(self.drive_c, "Program Files", "Ketravo")
        homes = glob.glob(os.path.join(self.drive_c, "users", "*", "AppData", "Roaming", "Ketravo"))
        self.assertEqual(len(homes), 1)
        self.assertTrue(os.path.isfile(os.path.join(homes[0], "data", "button.dat")))
        self.prefix.reg_add(BASE_KEY + r"\File", "Filename", "button.dat")

        self.app = App(self.prefix)  # its window helpers; the uninstaller is started here
        with open(os.path.join(self.prefix.path, "uninstall.log"), "ab") as log:
            subprocess.Popen(["wine", os.path.join(program, "uninstall.exe")], env=self.prefix.env,
                             stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        page = wait_for(self.uninstaller, timeout=60, what="the uninstaller")
        tree = wait_for(lambda: next((c for c in self.app.children(page.hwnd) if c.cls == "SysTreeView32"), None),
                        what="the list of parts")
        # The second entry's check box (rows are 17 pixels high) is ticked with a click.
        time.sleep(0.5)
        pointer_to(tree.left + 10, tree.top + 25)
        xdo("click", 1)
        time.sleep(0.3)
        buttons = {c.text.replace("&", ""): c for c in self.app.children(page.hwnd) if c.cls.lower() == "button"}
        pointer_click(buttons["Uninstall"])
        wait_for(lambda: not os.path.exists(homes[0]), timeout=60, what="the schemes folder removed")
        wait_for(lambda: self.prefix.reg_query(BASE_KEY) is None, what="the settings removed")
        self.assertFalse(os.path.exists(program))
        close = wait_for(lambda: next((c for c in self.app.children(page.hwnd)
                                       if c.text.replace("&", "") == "Close" and c.visible), None),
                         what="the Close button")
        pointer_click(close)
        wait_for(lambda: not self.uninstaller(), what="the uninstaller closed")

    def test_portable_zip_runs_from_a_path_with_blanks_and_an_accent(self):
        folder = os.path.join(self.drive_c, "Program Files \u00e9", "Ketravo x")
        with zipfile.ZipFile(os.path.join(BUILD, "Ketravo-1.1-portable.zip")) as z:
            self.assertEqual(sorted(n for n in z.namelist() if not n.endswith("/")),
                             ["Ketravo/KTRAVO.exe", "Ketravo/LICENSE.txt", "Ketravo/README.txt",
                              "Ketravo/data/button.dat", "Ketravo/help/contents.html", "Ketravo/help/help.html",
                              "Ketravo/help/index.html"])
            z.extractall(folder)
        home = os.path.join(folder, "Ketravo")
        self.start_and_type(home, os.path.join(home, "KTRAVO.exe"))
        self.assertEqual(self.stored_folder("OutputDir"), self.on_drive_c(os.path.join(home, "data")))


if __name__ == "__main__":
    unittest.main()
