"""A scheme folder shared by a team: two users, each with a Wine prefix of his own (his own
wineserver, his own program), both with drive S: mapped to the same folder. What one saves,
the other's bar and configuration window follow; a save over the other's version asks."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from ktharness import BASE_KEY, BIN, App, Prefix, wait_for, write_scheme
from pixels import screenshot
from test_config import ConfigWindow

QUESTION = "The scheme team was changed by someone else since you opened it. Replace their version with yours?"


def scheme_bytes(buttons, eol=1):
    return b"".join(b"C01%s\r\nT01%s\r\n" % (c.encode(), t.encode()) for c, t in buttons) + b"D01%d\r\n" % eol


class User:
    """One user's machine: a prefix with S: mapped to the shared folder, the program started
    there with S:\\schemes as its scheme folder, its windows placed on its half of the screen."""

    def __init__(self, name, shared, x):
        self.prefix = Prefix("shared" + name)
        os.symlink(shared, os.path.join(self.prefix.path, "dosdevices", "s:"))
        self.prefix.reg_add(BASE_KEY + r"\Path", "OutputDir", r"S:\schemes")
        self.app = App(self.prefix)
        self.app.start()
        self.cfg = ConfigWindow(self.app)
        bar = self.app.bar(visible=False)
        self.prefix.drive("move", bar.hwnd, x, 620, bar.width, bar.height)
        w = self.cfg.window
        self.prefix.drive("move", w.hwnd, x, 0, w.width, w.height)
        wait_for(lambda: self.app.find(cls="TConfigForm").left == x, what="the window placed")
        self.cfg = ConfigWindow(self.app)
        self.bar = self.app.bar(visible=False)

    def bar_captions(self):
        """One look at the bar (one call of the driver)."""
        return [b.text for b in self.app.scheme_buttons(self.bar)]

    def chooser(self):
        return self.prefix.drive("items", self.app.scheme_chooser().hwnd).split()

    def captions(self):
        return self.cfg.drive("items", self.cfg.caption_list).split()

    def open_scheme(self, name):
        self.app.pick(self.cfg.scheme_list, self.cfg.schemes_listed().index(name))
        wait_for(lambda: self.cfg.drive("text", self.cfg.scheme_edit).strip() == name, what=name + " chosen")

    def add_button(self, caption, text):
        before = self.captions()
        self.app.type_into(self.cfg.caption_edit, caption)
        self.app.type_into(self.cfg.text_edit, text)
        self.app.click(self.cfg.button_cmd["Add"])
        wait_for(lambda: self.captions() == before + [caption], what=caption + " in the list")

    def save(self):
        self.app.click(self.cfg.button_cmd["Save"])


class SharedFolderTest(unittest.TestCase):
    def setUp(self):
        self.shared = tempfile.mkdtemp(prefix="ktshared-")
        self.folder = os.path.join(self.shared, "schemes")
        write_scheme(self.folder, "button", [("One", "one")], 1)
        write_scheme(self.folder, "team", [("T", "t")], 1)
        write_scheme(self.folder, "gone", [("G", "g")], 1)
        self.users = []
        self.a = self.user("A", 0)
        self.b = self.user("B", 640)

    def user(self, name, x):
        u = User(name, self.shared, x)
        self.users.append(u)
        return u

    def tearDown(self):
        for u in self.users:
            u.app.stop()
        shutil.rmtree(self.shared, ignore_errors=True)

    def file(self, name):
        with open(os.path.join(self.folder, name + ".dat"), "rb") as f:
            return f.read()

    def others(self):
        return {n: self.file(n[:-4]) if n.endswith(".dat") else n for n in os.listdir(self.folder) if n != "team.dat"}

    def test_two_users_share_one_folder(self):
        a, b = self.a, self.b
        self.assertEqual(b.bar_captions(), ["One"])

        # A saves a new button: B's bar shows it within 2 s.
        a.open_scheme("button")
        a.add_button("Two", "two")
        a.save()
        saved = time.time()
        wait_for(lambda: b.bar_captions() == ["One", "Two"], timeout=5, interval=0.05, what="B's bar following")
        self.assertLess(time.time() - saved, 2.0)

        # A deletes a scheme: B's chooser and B's scheme list drop it.
        a.open_scheme("gone")
        a.app.click(a.cfg.scheme_cmd["Delete"])
        a.app.click_answer(a.app.wait_dialog(), "Yes")
        deleted = time.time()
        wait_for(lambda: "gone" not in b.chooser(), timeout=5, interval=0.05, what="B's chooser following")
        self.assertLess(time.time() - deleted, 2.0)
        wait_for(lambda: sorted(b.cfg.schemes_listed()) == ["button", "team"], what="B's scheme list following")

        # A and B edit the same scheme; A saves first, then B: B is asked.
        others = self.others()
        b.open_scheme("team")
        b.add_button("BT", "bt")
        a.open_scheme("team")
        a.add_button("AT", "at")
        a.save()
        a.cfg.wait_status("File saved")
        theirs = scheme_bytes([("T", "t"), ("AT", "at")])
        self.assertEqual(self.file("team"), theirs)
        time.sleep(0.5)
        self.assertEqual(b.captions(), ["T", "BT"])  # an unsaved edit is never replaced
        b.save()
        box = b.app.wait_dialog()
        self.assertEqual(" ".join(box["texts"]), QUESTION)
        self.assertEqual(sorted(box["buttons"]), ["Cancel", "No", "Yes"])
        screenshot("shared-folder-question")
        b.app.click_answer(box, "No")
        wait_for(lambda: b.captions() == ["T", "AT"], what="A's version in B's window")
        b.cfg.wait_status("Not saved - team now shows the version saved by someone else")
        self.assertEqual(self.file("team"), theirs)

        # With nothing unsaved, B's window follows A's next save by itself.
        a.add_button("AT2", "at2")
        a.save()
        wait_for(lambda: b.captions() == ["T", "AT", "AT2"], what="B's window following A's save")
        # Again, and this time B replaces A's version with his own.
        b.add_button("BT", "bt")
        a.add_button("AT3", "at3")
        a.save()
        wait_for(lambda: self.file("team").count(b"C01") == 4, what="A's third save")
        b.save()
        box = b.app.wait_dialog()
        self.assertEqual(" ".join(box["texts"]), QUESTION)
        b.app.click_answer(box, "Yes")
        b.cfg.wait_status("File saved")
        self.assertEqual(self.file("team"), scheme_bytes([("T", "t"), ("AT", "at"), ("AT2", "at2"), ("BT", "bt")]))
        self.assertEqual(self.others(), others)  # no other file changed, no temporary left

        # A writer on B's machine that holds the file while it writes it line by line (the
        # system refuses readers meanwhile), and one on A's machine that does not lock it
        # (another wineserver: like a writer whose share enforces no locks) but pauses less than
        # the quiet time: B's bar never shows half of either file.
        four = [("One", "one"), ("Two", "two"), ("Three", "three"), ("Four", "four")]
        for user, pause, buttons in ((b, 400, four), (a, 200, four[:2])):
            before, want = b.bar_captions(), [c for c, _ in buttons]
            lines = [l.decode() for l in scheme_bytes(buttons).split(b"\r\n") if l]
            writer = subprocess.Popen(["wine", os.path.join(BIN, "ktwriter.exe"), r"S:\schemes\button.dat",
                                       str(pause)] + lines, env=user.prefix.env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            seen, looks = set(), 0
            while writer.poll() is None:
                seen.add(tuple(b.bar_captions()))
                looks += 1
            self.assertEqual(writer.returncode, 0)
            wait_for(lambda: b.bar_captions() == want, timeout=5, interval=0.05, what="the whole file on B's bar")
            self.assertGreater(looks, 3)
            self.assertLessEqual(seen, {tuple(before), tuple(want)}, "a half-written file was shown")
        self.assertEqual(b.app.dialogs(), [])

        # The current scheme of both is deleted by someone: each bar shows the folder's first
        # scheme and says so, once (each box moved onto its user's half of the screen).
        os.remove(os.path.join(self.folder, "button.dat"))
        for u, x in ((a, 250), (b, 900)):
            box = u.app.wait_dialog()
            self.assertRegex(box["texts"][-1], r"^The scheme button is no longer in the scheme folder "
                                               r"\(deleted or renamed\): the bar shows team now\.$")
            w = next(w for w in u.app.windows() if w.hwnd == box["hwnd"])
            u.prefix.drive("move", w.hwnd, x, 560, w.width, w.height)
            wait_for(lambda: next(w for w in u.app.windows() if w.hwnd == box["hwnd"]).left == x, what="box moved")
            u.app.click_answer(box, "OK")
        write_scheme(self.folder, "later", [("L", "l")], 1)  # the folder changes on
        wait_for(lambda: "later" in b.chooser() and "later" in a.chooser(), what="the choosers going on")
        self.assertEqual(a.app.dialogs() + b.app.dialogs(), [])
        self.assertEqual(b.bar_captions()[:2], ["T", "AT"])


if __name__ == "__main__":
    unittest.main()
