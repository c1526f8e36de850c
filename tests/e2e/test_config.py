"""The configuration window: a scheme made there reaches the bar and types into the target."""
import os
import unittest

from ktharness import App, BASE_KEY, Prefix, Target, capture, pointer_click, unescape, wait_for, write_scheme

BM_GETCHECK = 0xF0


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
        # Keyed by the caption as seen, without its access key's mark.
        self.scheme_cmd = {k.text.replace("&", ""): k.hwnd for k in inside(self.schemes, "button")}
        self.button_cmd = {k.text.replace("&", ""): k.hwnd for k in inside(self.buttons, "button")}
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

    def test_a_user_makes_a_scheme_in_the_window_and_it_types_from_the_bar(self):
        """The whole feature with the real pointer and keys: an unsafe name refused, a scheme
        and its buttons made and saved, unsaved buttons kept by the question when the user
        picks another scheme, the new scheme picked on the bar and typing from it."""
        target = Target(self.prefix)
        app = self.app
        app.start()
        app.bar_aside()
        cfg = ConfigWindow(app)
        self.assertEqual(cfg.window.text, "Ketravo Configuration")
        self.assertEqual(cfg.schemes_listed(), ["button"])

        app.type_into(cfg.scheme_edit, r"..\escape")
        app.click(cfg.scheme_cmd["Add"])
        cfg.wait_status('Invalid scheme name "..\\escape" - it may not hold \\ / or :')
        self.assertEqual(sorted(os.listdir(self.data)), ["button.dat"])

        app.type_into(cfg.scheme_edit, "work")
        app.click(cfg.scheme_cmd["Add"])
        cfg.wait_status("work.dat File Added")
        self.assertEqual(self.scheme("work"), b"D012\r\n")
        self.assertEqual(sorted(cfg.schemes_listed()), ["button", "work"])
        self.assertEqual(self.prefix.reg_value(BASE_KEY + r"\File", "Filename"), "work.dat")

        added = []
        for caption, text in (("One", "first"), ("Two", "second"), ("Three", "third")):
            app.type_into(cfg.caption_edit, caption)
            app.type_into(cfg.text_edit, text)
            app.click(cfg.button_cmd["Add"])
            added.append(caption)
            wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == added, what="%s in the list" % caption)
        enter = next(k.hwnd for k in app.children(cfg.window.hwnd) if k.text.replace("&", "") == "Enter")
        app.click(enter)
        wait_for(lambda: cfg.drive("send", enter, BM_GETCHECK, 0, 0).strip() == "1", what="Enter checked")
        app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertEqual(self.scheme("work"),
                         b"C01One\r\nT01first\r\nC01Two\r\nT01second\r\nC01Three\r\nT01third\r\nD011\r\n")

        # A button added and not saved: picking another scheme asks, and Yes saves it.
        app.type_into(cfg.caption_edit, "Four")
        app.type_into(cfg.text_edit, "fourth")
        app.click(cfg.button_cmd["Add"])
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == added + ["Four"], what="Four in the list")
        app.pick(cfg.scheme_list, cfg.schemes_listed().index("button"))
        box = app.wait_dialog()
        self.assertEqual(" ".join(box["texts"]), "Save button configuration for work?")
        app.click_answer(box, "Yes")
        wait_for(lambda: b"Four" in self.scheme("work"), what="work.dat saved")
        self.assertEqual(self.scheme("work"), b"T01first\r\nC01One\r\nT01second\r\nC01Two\r\nT01third\r\nC01Three"
                                              b"\r\nT01fourth\r\nC01Four\r\nD011\r\n")
        self.assertEqual(self.scheme("button"), b"C01Old\r\nT01old text\r\nD011\r\n")
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["Old"], what="the button scheme shown")

        # The bar's chooser lists the new scheme; picking it shows its buttons.
        app.choose(app.scheme_chooser().hwnd, "work")
        wait_for(lambda: sorted(b.text for b in app.scheme_buttons()) == ["Four", "One", "Three", "Two"],
                 what="the new scheme's buttons on the bar")
        self.assertEqual(app.bar().height, 140 + 50 + 32 * 3 + app.label_growth())

        capture(target.click_in)
        pointer_click(next(b for b in app.scheme_buttons() if b.text == "Two"))
        self.assertEqual(target.settled_text(), "second\r\n")

    def test_schemes_named_beyond_the_code_page_are_shown_opened_renamed_and_deleted(self):
        write_scheme(self.data, "\u041f\u0440\u0438\u0432\u0435\u0442", [("Hi", "hello")], 1)
        write_scheme(self.data, "\u041c\u0438\u0440", [("W", "world")], 1)
        original = self.scheme("\u041f\u0440\u0438\u0432\u0435\u0442")
        self.app.start()
        self.app.bar_aside()
        cfg = ConfigWindow(self.app)
        shown = cfg.shown(cfg.scheme_list)
        self.assertEqual(sorted(shown), ["button", "\u041c\u0438\u0440", "\u041f\u0440\u0438\u0432\u0435\u0442"])
        bar = self.app.bar(visible=False)
        combo = [c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox"][0]
        self.assertEqual(sorted(cfg.shown(combo.hwnd)), sorted(shown))

        self.app.pick(cfg.scheme_list, shown.index("\u041f\u0440\u0438\u0432\u0435\u0442"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["Hi"], what="its buttons")
        # Saved through its stand-in name, the scheme's own file is replaced: no second file.
        self.app.type_into(cfg.caption_edit, "New")
        self.app.type_into(cfg.text_edit, "new text")
        self.app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        self.app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        saved = original.replace(b"D011", b"C01New\r\nT01new text\r\nD011")
        self.assertEqual(self.scheme("\u041f\u0440\u0438\u0432\u0435\u0442"), saved)
        self.assertEqual(len(os.listdir(self.data)), 3)
        self.app.type_into(cfg.scheme_edit, "renamed")
        self.app.click(cfg.scheme_cmd["Modify"])
        wait_for(lambda: "renamed.dat" in os.listdir(self.data), what="the rename")
        self.assertEqual(self.scheme("renamed"), saved)

        shown = cfg.shown(cfg.scheme_list)
        self.app.pick(cfg.scheme_list, shown.index("\u041c\u0438\u0440"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["W"], what="its buttons")
        self.app.click(cfg.scheme_cmd["Delete"])
        self.app.click_answer(self.app.wait_dialog(), "Yes")
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
        self.app.pick(cfg.scheme_list, names.index("big"))
        # The window shows the first 1,000 and says so; Save would ask before replacing the file.
        cfg.wait_status("Partly loaded: only the first 1000 of 420000 buttons shown")
        lb_getcount = 0x18B
        self.assertEqual(cfg.drive("send", cfg.caption_list, lb_getcount, 0, 0).strip(), "1000")
        self.assertEqual(cfg.drive("send", cfg.text_list, lb_getcount, 0, 0).strip(), "1000")
        # The window answers messages (the driver gives up after 5 s) and its bar shows 10 buttons.
        self.assertEqual(cfg.drive("send", cfg.window.hwnd, 0x0E, 0, 0).strip(),  # WM_GETTEXTLENGTH
                         str(len("Ketravo Configuration")))
        self.app.choose(self.app.scheme_chooser().hwnd, "big")
        wait_for(lambda: len([c for c in self.app.scheme_buttons() if c.text.startswith("b")]) == 10,
                 what="ten buttons on the bar")


if __name__ == "__main__":
    unittest.main()
