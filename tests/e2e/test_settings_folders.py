"""The settings dialog given folders as users type them: a relative one ("data2", "..\\shared")
is stored as the folder inside the program's folder, a share ("\\\\nas\\schemes") as it stands,
and after a restart the bar shows the schemes of that folder. Under Wine a share is a folder
below the prefix's dosdevices\\unc."""
import os
import shutil
import tempfile
import unittest

from ktharness import BASE_KEY, App, Prefix, pointer_to, unix_to_wine, wait_for, write_scheme, xdo, xkey


class SettingsFoldersTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="ktsettings-")
        self.start_dir = os.path.join(self.root, "app")
        write_scheme(os.path.join(self.start_dir, "data"), "button", [("Data", "d")], 1)
        write_scheme(os.path.join(self.start_dir, "data2"), "button", [("Data2", "d2")], 1)
        write_scheme(os.path.join(self.root, "shared"), "button", [("Shared", "s")], 1)
        self.prefix = Prefix("settingsfolders")
        unc = os.path.join(self.prefix.path, "dosdevices", "unc", "nas")
        os.makedirs(unc)
        self.nas = os.path.join(self.root, "nas-schemes")
        write_scheme(self.nas, "button", [("Nas", "n")], 1)
        os.symlink(self.nas, os.path.join(unc, "schemes"))
        self.app = App(self.prefix, start_dir=self.start_dir)

    def tearDown(self):
        self.app.stop()
        shutil.rmtree(self.root, ignore_errors=True)

    def start(self):
        self.app.start()
        self.app.bar_aside()
        return wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")

    def settings(self, config):
        """Options > Settings from the keyboard, after a click into the configuration window."""
        pointer_to(config.left + 50, config.bottom - 16)
        xdo("click", 1)
        wait_for(lambda: self.prefix.drive("foreground").strip() == str(config.hwnd), what="the window in front")
        xkey("alt+o")
        xkey("s")
        dialog = wait_for(lambda: self.app.find(cls="TFormOptionsDirectory"), what="the settings dialog")
        edits = sorted((k for k in self.app.children(dialog.hwnd) if k.cls.lower() == "edit"), key=lambda k: k.top)
        ok = next(k.hwnd for k in self.app.children(dialog.hwnd) if k.text.replace("&", "") == "OK")
        return dialog, edits[1].hwnd, ok

    def bar_captions(self):
        return [b.text for b in self.app.scheme_buttons()]

    def test_typed_folders_are_stored_as_meant_and_used_after_a_restart(self):
        app_folder = unix_to_wine(self.start_dir)
        cases = [
            ("data2", "%systemroot%" + app_folder[2:] + "\\data2", ["Data2"]),
            ("..\\shared", "%systemroot%" + unix_to_wine(self.root)[2:] + "\\shared", ["Shared"]),
            ("\\\\nas\\schemes", "\\\\nas\\schemes", ["Nas"]),
        ]
        config = self.start()
        self.assertEqual(self.bar_captions(), ["Data"])
        # A text that names no folder is refused with a message; nothing is stored.
        dialog, output, ok = self.settings(config)
        self.app.type_into(output, "D:data")
        self.app.click(ok)
        box = self.app.wait_dialog()
        self.assertEqual(box["texts"][-1], 'The folder "D:data" has no backslash after the drive: write it as D:\\data. '
                                           "Nothing was stored.")
        self.app.click_answer(box, "OK")
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\Path", "OutputDir"), "%systemroot%" + app_folder[2:] + "\\data")
        for typed, stored, captions in cases:
            if not self.app.find(cls="TFormOptionsDirectory"):  # the refused text's dialog is still open
                dialog, output, ok = self.settings(config)
            self.app.type_into(output, typed)
            self.app.click(ok)
            wait_for(lambda: not self.app.find(cls="TFormOptionsDirectory"), what="the dialog to close")
            self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\Path", "OutputDir"), stored)
            self.app.stop()
            config = self.start()
            wait_for(lambda: self.bar_captions() == captions, what="the bar on %r" % typed)
        # The share is watched like any folder: a scheme saved there shows in the chooser.
        write_scheme(self.nas, "team", [("T", "t")], 1)
        chooser = self.app.scheme_chooser().hwnd
        wait_for(lambda: sorted(self.prefix.drive("items", chooser).split()) == ["button", "team"],
                 timeout=5, what="the share's new scheme in the chooser")


if __name__ == "__main__":
    unittest.main()
