"""The configuration window's "&Settings" and Help menu: the settings dialog stores both folders,
"&About" shows the box with the version line, "Help On &Web" shows its notice, the three help
entries open their pages with the browser's command, and "Set Path" opens the explorer-style
folder picker."""
import os
import tempfile
import unittest

from ktharness import App, BASE_KEY, BIN, Prefix, pointer_to, unescape, unix_to_wine, wait_for, write_scheme, xdo, xkey


class SettingsTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("One", "one")], 1)
        self.app.start()
        self.app.bar_aside()
        # The first start shows the configuration window.
        self.config = wait_for(lambda: self.app.find(cls="TConfigForm"), what="the configuration window")

    def tearDown(self):
        self.app.stop()

    # Menu entries as the user reaches them from the keyboard: Alt + the menu's mark, then the
    # entry's mark. (Under Wine the driver cannot read another process's menu items.)
    KEYS = {"Settings": ("alt+o", "s"), "About": ("alt+h", "a"), "Help On Web": ("alt+h", "w"),
            "Topic Search": ("alt+h", "t"), "Contents": ("alt+h", "c"), "Help on Help": ("alt+h", "h")}

    def choose(self, caption):
        # The user clicks into the window first (a free spot near its bottom edge): the bar is
        # the active window at start. With a skin on, the frame draws the menu bar.
        c = self.config
        pointer_to(c.left + 50, c.bottom - 16)
        xdo("click", 1)
        wait_for(lambda: self.app.prefix.drive("foreground").strip() == str(c.hwnd),
                 what="the configuration window in front")
        for key in self.KEYS[caption]:
            xkey(key)

    def button(self, hwnd, text):
        return next(k.hwnd for k in self.app.children(hwnd) if k.text.replace("&", "") == text)

    def texts(self, hwnd):
        return [k.text for k in self.app.children(hwnd)]

    def test_settings_ok_stores_both_folders_in_placeholder_form(self):
        self.choose("Settings")
        dialog = wait_for(lambda: self.app.find(cls="TFormOptionsDirectory", title="Ketravo Settings"),
                          what="the settings dialog")
        edits = sorted((k for k in self.app.children(dialog.hwnd) if k.cls.lower() == "edit"), key=lambda k: k.top)
        self.assertEqual(len(edits), 2)
        # No project folder stored yet; the output folder is the one the bar stored at its first start.
        shown = [unescape(self.app.prefix.drive("text", e.hwnd).rstrip("\r\n")) for e in edits]
        self.assertEqual(shown, ["", unix_to_wine(os.path.join(self.app.start_dir, "data"))])
        output = unix_to_wine(os.path.join(self.app.start_dir, "other data"))
        self.app.type_into(edits[0].hwnd, r"C:\Projects\Ketravo")
        self.app.type_into(edits[1].hwnd, output)
        self.app.click(self.button(dialog.hwnd, "OK"))
        wait_for(lambda: not self.app.find(cls="TFormOptionsDirectory"), what="the dialog to close")
        path = self.prefix.reg_query(BASE_KEY + r"\Path")
        self.assertEqual(path["PathProject"], ("REG_SZ", r"%systemroot%\Projects\Ketravo"))
        self.assertEqual(path["OutputDir"], ("REG_SZ", "%systemroot%" + output[2:]))
        # The program goes on: the configuration window is still there.
        self.assertIsNotNone(self.app.find(cls="TConfigForm"))

    def test_about_shows_the_version_line_and_closes_with_ok(self):
        self.choose("About")
        box = wait_for(lambda: self.app.find(cls="TAboutBox", title="About Ketravo"), what="the About box")
        self.assertEqual((box.client_width, box.client_height), (465, 304))
        texts = self.texts(box.hwnd)
        self.assertIn("Ketravo V1.1", texts)
        self.assertIn("Ketravo automatically fills in forms using predefined text that you created.", texts)
        self.assertTrue(any(t.endswith(" KB") and t[0].isdigit() for t in texts), texts)
        self.app.click(self.button(box.hwnd, "OK"))
        wait_for(lambda: not self.app.find(cls="TAboutBox"), what="the About box to close")

    def test_set_path_opens_the_explorer_style_folder_picker_with_its_title(self):
        self.choose("Settings")
        dialog = wait_for(lambda: self.app.find(cls="TFormOptionsDirectory"), what="the settings dialog")
        set_path = min((k for k in self.app.children(dialog.hwnd) if k.text == "Set Path"), key=lambda k: k.top)
        self.app.click(set_path.hwnd)
        picker = self.app.wait_dialog()
        self.assertEqual(picker["title"], "Choose a Folder")
        self.assertIn("SHELLDLL_DefView", {c.cls for c in self.app.children(picker["hwnd"])})
        xkey("Escape")
        wait_for(lambda: not self.app.dialogs(), what="the picker to close")

    def test_the_help_entries_hand_their_pages_to_the_browser(self):
        # The default browser's command, as the system keeps it: here one that writes down the
        # address it is given.
        out = os.path.join(tempfile.mkdtemp(prefix="kthelp-"), "opened.txt")
        for root in (r"HKLM\Software\Classes", r"HKCU\Software\Classes"):
            self.prefix.wine("reg", "add", root + r"\htmlfile\shell\open\command", "/ve", "/d",
                             r"C:\windows\system32\cmd.exe /c echo>" + unix_to_wine(out), "/f")
        folder = "file:///" + unix_to_wine(BIN).replace("\\", "/")
        for entry, page in (("Topic Search", "index"), ("Contents", "contents"), ("Help on Help", "help")):
            if os.path.exists(out):
                os.remove(out)
            self.choose(entry)
            opened = wait_for(lambda: self.read(out), what="the address handed to the browser for " + entry)
            self.assertEqual(opened.lower(), (folder + "/help/" + page + ".html").lower())

    @staticmethod
    def read(path):
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read().decode().strip()

    def test_help_on_web_shows_that_there_is_no_online_help(self):
        self.choose("Help On Web")
        box = self.app.wait_dialog()
        self.assertIn("Sorry, the software vendor did not provide a website for online help.", box["texts"])
        self.app.click_answer(box, "OK")


if __name__ == "__main__":
    unittest.main()
