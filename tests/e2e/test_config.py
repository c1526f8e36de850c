"""The configuration window: a scheme made there reaches the bar and types into the target."""
import os
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, Target, unescape, wait_for, write_scheme, xkey


class ConfigWindow:
    """The configuration window's controls, found by group and caption."""

    def __init__(self, app):
        self.app = app
        self.window = wait_for(lambda: app.find(cls="TConfigForm"), what="the configuration window")
        kids = app.children(self.window.hwnd)
        groups = {k.text: k for k in kids if k.cls.lower() == "button" and k.text in ("Button Scheme", "Buttons")}
        self.schemes = groups["Button Scheme"].hwnd
        self.buttons = groups["Buttons"].hwnd

        def inside(parent, cls):
            return sorted((k for k in kids if k.parent == parent and k.cls.lower() == cls), key=lambda k: k.left)

        self.scheme_edit = inside(self.schemes, "edit")[0].hwnd
        self.scheme_list = inside(self.schemes, "listbox")[0].hwnd
        self.caption_edit, self.text_edit = (k.hwnd for k in inside(self.buttons, "edit"))
        self.caption_list, self.text_list = (k.hwnd for k in inside(self.buttons, "listbox"))
        self.scheme_cmd = {k.text: k.hwnd for k in inside(self.schemes, "button")}
        self.button_cmd = {k.text: k.hwnd for k in inside(self.buttons, "button")}
        # The status label sits below the two groups, straight on the window.
        statics = [k for k in kids if k.parent == self.window.hwnd and k.cls.lower() == "static"]
        self.status_label = max(statics, key=lambda k: k.top).hwnd

    def drive(self, *args):
        return self.app.prefix.drive(*args)

    def status(self):
        return unescape(self.drive("text", self.status_label).rstrip("\r\n"))

    def wait_status(self, text):
        return wait_for(lambda: self.status() == text, what="status %r (is %r)" % (text, self.status()))

    def schemes_listed(self):
        return [unescape(l) for l in self.drive("items", self.scheme_list).splitlines()]

    def shown(self, hwnd):
        """The entries as the window shows them, characters beyond the code page included."""
        return [bytes.fromhex(l.strip()).decode("utf-16-be") for l in self.drive("items", hwnd, "utf16").splitlines()]


class OneSchemeTestCase(unittest.TestCase):
    """A fresh prefix and the program with one scheme, "button", holding one button "Old"."""

    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")
        write_scheme(self.data, "button", [("Old", "old text")], 1)

    def tearDown(self):
        self.app.stop()


class ConfigTest(OneSchemeTestCase):

    def scheme(self, name):
        with open(os.path.join(self.data, name + ".dat"), "rb") as f:
            return f.read()

    def bar_buttons(self):
        bar = self.app.bar()
        return [c for c in self.app.children(bar.hwnd) if c.cls.lower() == "button" and c.visible
                and c.text and c.width == 75]

    def test_a_scheme_made_in_the_window_reaches_the_bar_and_types(self):
        target = Target(self.prefix)
        self.app.start()
        cfg = ConfigWindow(self.app)
        self.assertEqual(cfg.window.text, "Ketravo Configuration")
        self.assertEqual(cfg.schemes_listed(), ["button"])

        cfg.drive("settext", cfg.scheme_edit, "work")
        cfg.drive("click", cfg.scheme_cmd["Add"])
        cfg.wait_status("work.dat File Added")
        self.assertEqual(self.scheme("work"), b"D012\r\n")
        self.assertEqual(sorted(cfg.schemes_listed()), ["button", "work"])
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "work.dat")

        for caption, text in (("One", "first"), ("Two", "second"), ("Three", "third")):
            cfg.drive("settext", cfg.caption_edit, caption)
            cfg.drive("settext", cfg.text_edit, text)
            cfg.drive("click", cfg.button_cmd["Add"])
            cfg.wait_status("Item added.")
            cfg.drive("settext", cfg.status_label, "")
        cfg.drive("press", cfg.window.hwnd, "Enter")
        time.sleep(0.3)
        cfg.drive("click", cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertEqual(self.scheme("work"),
                         b"C01One\r\nT01first\r\nC01Two\r\nT01second\r\nC01Three\r\nT01third\r\nD011\r\n")

        # The bar's chooser lists the new scheme at once; picking it shows its buttons.
        bar = self.app.bar()
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        items = [unescape(l) for l in self.prefix.drive("items", combo.hwnd).splitlines()]
        self.assertIn("work", items)
        self.prefix.drive("select", combo.hwnd, items.index("work"))
        wait_for(lambda: sorted(b.text for b in self.bar_buttons()) == ["One", "Three", "Two"],
                 what="the new scheme's buttons on the bar")
        self.assertEqual(self.app.bar().height, 140 + 25 * 4)

        target.focus()
        time.sleep(0.3)
        xkey("ctrl+t")
        time.sleep(0.3)
        two = [b for b in self.bar_buttons() if b.text == "Two"][0]
        self.prefix.drive("click", two.hwnd)
        self.assertEqual(target.settled_text(), "second\r\n")

    def test_switching_schemes_with_unsaved_buttons_asks_and_yes_saves_them(self):
        write_scheme(self.data, "work", [("W", "w")], 2)
        self.app.start()
        cfg = ConfigWindow(self.app)
        names = cfg.schemes_listed()
        cfg.drive("lbselect", cfg.scheme_list, names.index("work"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["W"], what="the work scheme's buttons")
        cfg.drive("settext", cfg.caption_edit, "Added")
        cfg.drive("settext", cfg.text_edit, "added text")
        cfg.drive("click", cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")

        cfg.drive("lbselect", cfg.scheme_list, names.index("button"))
        box = self.app.wait_dialog()
        self.assertEqual(" ".join(box["texts"]), "Save button configuration for work?")
        self.app.answer(box, "Yes")
        wait_for(lambda: b"Added" in self.scheme("work"), what="work.dat saved")
        self.assertEqual(self.scheme("work"),
                         b"T01w\r\nC01W\r\nT01added text\r\nC01Added\r\nD012\r\n")
        self.assertEqual(self.scheme("button"),
                         b"C01Old\r\nT01old text\r\nD011\r\n")

    def test_an_unsafe_name_is_refused_in_the_status_line(self):
        self.app.start()
        cfg = ConfigWindow(self.app)
        cfg.drive("settext", cfg.scheme_edit, r"..\escape")
        cfg.drive("click", cfg.scheme_cmd["Add"])
        cfg.wait_status('Invalid scheme name "..\\escape" - it may not hold \\ / or :')
        self.assertFalse(os.path.exists(os.path.join(self.app.start_dir, "escape.dat")))
        self.assertEqual(sorted(os.listdir(self.data)), ["button.dat"])

    def test_schemes_named_beyond_the_code_page_are_shown_opened_renamed_and_deleted(self):
        write_scheme(self.data, "\u041f\u0440\u0438\u0432\u0435\u0442", [("Hi", "hello")], 1)
        write_scheme(self.data, "\u041c\u0438\u0440", [("W", "world")], 1)
        original = self.scheme("\u041f\u0440\u0438\u0432\u0435\u0442")
        self.app.start()
        cfg = ConfigWindow(self.app)
        shown = cfg.shown(cfg.scheme_list)
        self.assertEqual(sorted(shown), ["button", "\u041c\u0438\u0440", "\u041f\u0440\u0438\u0432\u0435\u0442"])
        bar = self.app.bar(visible=False)
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        self.assertEqual(sorted(cfg.shown(combo.hwnd)), sorted(shown))

        cfg.drive("lbselect", cfg.scheme_list, shown.index("\u041f\u0440\u0438\u0432\u0435\u0442"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["Hi"], what="its buttons")
        # Saved through its stand-in name, the scheme's own file is replaced: no second file.
        cfg.drive("settext", cfg.caption_edit, "New")
        cfg.drive("settext", cfg.text_edit, "new text")
        cfg.drive("click", cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        cfg.drive("click", cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        saved = original.replace(b"D011", b"C01New\r\nT01new text\r\nD011")
        self.assertEqual(self.scheme("\u041f\u0440\u0438\u0432\u0435\u0442"), saved)
        self.assertEqual(len(os.listdir(self.data)), 3)
        cfg.drive("settext", cfg.scheme_edit, "renamed")
        cfg.drive("click", cfg.scheme_cmd["Modify"])
        wait_for(lambda: "renamed.dat" in os.listdir(self.data), what="the rename")
        self.assertEqual(self.scheme("renamed"), saved)

        shown = cfg.shown(cfg.scheme_list)
        cfg.drive("lbselect", cfg.scheme_list, shown.index("\u041c\u0438\u0440"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["W"], what="its buttons")
        cfg.drive("click", cfg.scheme_cmd["Delete"])
        self.app.answer(self.app.wait_dialog(), "Yes")
        cfg.wait_status("Item deleted.")
        self.assertEqual(sorted(os.listdir(self.data)), ["button.dat", "renamed.dat"])
        self.assertEqual(sorted(cfg.shown(cfg.scheme_list)), ["button", "renamed"])

    def test_a_ten_megabyte_scheme_loads_and_the_window_keeps_answering(self):
        with open(os.path.join(self.data, "big.dat"), "wb") as f:
            f.write(b"".join(b"C01b%d\r\nT01text%d\r\n" % (i, i) for i in range(420000)) + b"D011\r\n")
        self.assertGreater(os.path.getsize(os.path.join(self.data, "big.dat")), 10_000_000)
        self.app.start()
        cfg = ConfigWindow(self.app)
        names = cfg.schemes_listed()
        self.assertEqual(sorted(names), ["big", "button"])
        cfg.drive("lbselect", cfg.scheme_list, names.index("big"))
        # The window shows the first 1,000 and says so; Save would ask before replacing the file.
        cfg.wait_status("Partly loaded: only the first 1000 of 420000 buttons shown")
        lb_getcount = 0x18B
        self.assertEqual(cfg.drive("send", cfg.caption_list, lb_getcount, 0, 0).strip(), "1000")
        self.assertEqual(cfg.drive("send", cfg.text_list, lb_getcount, 0, 0).strip(), "1000")
        # The window answers messages (the driver gives up after 5 s) and its bar shows 10 buttons.
        self.assertEqual(cfg.drive("send", cfg.window.hwnd, 0x0E, 0, 0).strip(),  # WM_GETTEXTLENGTH
                         str(len("Ketravo Configuration")))
        bar = self.app.bar(visible=False)
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        self.prefix.drive("select", combo.hwnd, [unescape(l) for l in self.prefix.drive("items", combo.hwnd)
                                                 .splitlines()].index("big"))
        wait_for(lambda: len([c for c in self.app.children(bar.hwnd) if c.cls.lower() == "button"
                              and c.width == 75 and c.text.startswith("b")]) == 10, what="ten buttons on the bar")


if __name__ == "__main__":
    unittest.main()
