"""Schemes never lost, emptied or mixed, whatever others do to the scheme folder meanwhile."""
import os
import shutil
import subprocess
import threading
import time
import unittest

from ktharness import (App, BIN, FormTarget, Prefix, capture, pointer_click, pointer_to, unix_to_wine, wait_for,
                       write_scheme, xdo, xkey)
from test_config import ConfigWindow


class SchemeSafetyTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")
        write_scheme(self.data, "button", [("Form", "Anna{TAB}Smith", True), ("Plain", "plain")], 0)
        write_scheme(self.data, "other", [("O", "o")], 0)
        self.app.start()
        self.app.bar_aside()

    def tearDown(self):
        self.app.stop()

    def file(self, name):
        with open(os.path.join(self.data, name + ".dat"), "rb") as f:
            return f.read()

    def bar_captions(self):
        return [b.text for b in self.app.scheme_buttons()]

    def wait_shown(self, captions, within, what):
        """Within `within` s the bar shows `captions` and its chooser every scheme of the folder
        (one look: two calls of the driver)."""
        start, bar = time.time(), self.app.bar(visible=False)
        combo = next(c for c in self.app.children(bar.hwnd) if c.cls == "ComboBox").hwnd
        names = lambda: sorted(n[:-4] for n in os.listdir(self.data) if n.endswith(".dat"))
        wait_for(lambda: [b.text for b in self.app.scheme_buttons(bar)] == captions
                 and sorted(self.prefix.drive("items", combo).split()) == names(), timeout=5, interval=0.02, what=what)
        print("%s: %.2f s" % (what, time.time() - start))
        self.assertLess(time.time() - start, within, what)

    def fill_form(self, form, caption):
        form.clear()
        pointer_click(self.app.control(form.fields[0]))
        pointer_click(next(b for b in self.app.scheme_buttons() if b.text == caption))
        return wait_for(lambda: (lambda t: t if t[0] else None)(form.texts()), what="the form filled")

    def test_saves_keep_every_button_and_keys_type_keys(self):
        cfg = ConfigWindow(self.app)
        form = FormTarget(self.app)
        self.addCleanup(form.proc.kill)
        capture(form.click_in)
        # After the user's own Save (same bytes) and after a colleague's, a keys button types keys.
        self.app.pick(cfg.scheme_list, cfg.schemes_listed().index("button"))
        wait_for(lambda: self.app.text(cfg.scheme_edit) == "button", what="button chosen")
        self.app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertEqual(self.fill_form(form, "Form")[:2], ["Anna", "Smith"])
        write_scheme(self.data, "button", [("Form", "Bea{TAB}Jones", True), ("Plain", "plain"), ("New", "n")], 0)
        wait_for(lambda: self.bar_captions() == ["Form", "Plain", "New"], timeout=5, what="the bar following")
        self.assertEqual(self.fill_form(form, "Form")[:2], ["Bea", "Jones"])
        # A byte-order mark: every caption types its own text.
        write_scheme(self.data, "button", [("First", "one"), ("Second", "two")], 0, bom=True)
        wait_for(lambda: self.bar_captions() == ["First", "Second"], timeout=5, what="the marked file shown")
        self.assertEqual(self.fill_form(form, "Second")[0], "two")

        # Another program holds the file at Save: no "their version", the added button stays.
        self.app.pick(cfg.scheme_list, cfg.schemes_listed().index("button"))
        wait_for(lambda: self.prefix.drive("items", cfg.caption_list).split() == ["First", "Second"], what="listed")
        self.app.type_into(cfg.caption_edit, "Added")
        self.app.type_into(cfg.text_edit, "added")
        self.app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        before = self.file("button")
        for sharing in ("none", "read"):  # held so that it cannot be read, or only not replaced
            holder = subprocess.Popen(["wine", os.path.join(BIN, "ktwriter.exe"), "--hold",
                                       unix_to_wine(os.path.join(self.data, "button.dat")), "4000", sharing],
                                      env=self.prefix.env)
            self.addCleanup(holder.kill)
            time.sleep(1.0)
            self.app.click(cfg.button_cmd["Save"])
            box = self.app.wait_dialog()
            self.assertIn("in use by another program", " ".join(box["texts"]))
            self.assertNotIn("someone else", " ".join(box["texts"]))
            self.app.click_answer(box, "OK")
            self.assertEqual(self.file("button"), before)
            self.assertEqual(self.prefix.drive("items", cfg.caption_list).split(), ["First", "Second", "Added"])
            holder.wait(timeout=20)
        self.app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertIn(b"C01Added", self.file("button"))

        # Save onto another existing scheme's name asks first; No keeps it.
        self.app.type_into(cfg.scheme_edit, "other")
        self.app.click(cfg.button_cmd["Save"])
        box = self.app.wait_dialog()
        self.assertIn("The scheme other already exists", " ".join(box["texts"]))
        self.app.click_answer(box, "No")
        self.assertEqual(self.file("other"), b"C01O\r\nT01o\r\nD010\r\n")

    def test_the_bar_follows_a_folder_made_again_and_past_a_file_rewritten_without_pause(self):
        # Deleted: no stale button, and the bar says so (only that, the second time too). Made
        # again: followed, while the box is still open, and also later on.
        for again in range(2):
            shutil.rmtree(self.data)
            box = self.app.wait_dialog()
            self.assertIn("Cannot find button file", " ".join(box["texts"]))
            self.assertEqual(self.bar_captions(), [])
            time.sleep(2.5)
            self.assertEqual(len(self.app.dialogs()), 1)
            os.makedirs(self.data)
            write_scheme(self.data, "button", [("Again", "again")], 0)
            self.wait_shown(["Again"], 2.0, "a folder made again")
            self.app.click_answer(box, "OK")
        time.sleep(3)
        write_scheme(self.data, "later", [("L", "l")], 0)
        self.wait_shown(["Again"], 2.0, "a scheme added later")

        # The chooser's list is open: not refilled under the pointer, only once it has closed.
        combo = self.app.control(self.app.scheme_chooser().hwnd)

        def open_list():
            pointer_to(combo.right - 8, (combo.top + combo.bottom) // 2)
            xdo("click", 1)
            return wait_for(lambda: [w for w in self.app.windows() if w.cls == "ComboLBox" and w.visible],
                            what="the list open")[0]

        open_list()
        items = self.prefix.drive("items", combo.hwnd).split()
        write_scheme(self.data, "meanwhile", [("M", "m")], 0)
        time.sleep(1.5)
        self.assertEqual(self.prefix.drive("items", combo.hwnd).split(), items)
        xkey("Escape")
        wait_for(lambda: "meanwhile" in self.prefix.drive("items", combo.hwnd).split(), what="the chooser refilled")
        # A scheme deleted while the list is open, then picked there: the first scheme instead.
        dropped = open_list()
        items = self.prefix.drive("items", combo.hwnd).split()
        os.remove(os.path.join(self.data, "later.dat"))
        time.sleep(1.0)
        self.app.pick(dropped.hwnd, items.index("later"))
        box = self.app.wait_dialog()
        self.assertIn("The scheme later is no longer in the scheme folder", " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        self.assertNotEqual(self.bar_captions(), [])

        # A file rewritten every 20 ms does not hold back what others save.
        stop = threading.Event()

        def rewrite():
            while not stop.wait(0.02):
                with open(os.path.join(self.data, "sync.log"), "w") as f:
                    f.write(str(time.time()))

        writer = threading.Thread(target=rewrite)
        writer.start()
        self.addCleanup(lambda: (stop.set(), writer.join()))
        time.sleep(1.0)
        write_scheme(self.data, "button", [("Again", "again"), ("More", "more")], 0)
        write_scheme(self.data, "another", [("A", "a")], 0)
        self.wait_shown(["Again", "More"], 1.0, "saves while a file is rewritten every 20 ms")

    def test_colleagues_save_while_a_clicks_box_is_open(self):
        for i in range(int(os.environ.get("KT_SAFETY_ROUNDS", "12"))):
            # No target captured: the click's own box stays open while a colleague saves, and the
            # buttons are rebuilt under it.
            pointer_click(self.app.scheme_buttons()[0])
            box = self.app.wait_dialog()
            write_scheme(self.data, "button", [("R%d" % i, "r"), ("Plain", "plain")], 0)
            wait_for(lambda: self.bar_captions()[:1] == ["R%d" % i], timeout=5, interval=0.05, what="round %d" % i)
            self.app.answer(box, "OK")
            self.assertIsNone(self.app.proc.poll(), "the program ended in round %d" % i)


if __name__ == "__main__":
    unittest.main()
