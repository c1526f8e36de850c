"""The gallery of skinned controls, driven with the real pointer: a screenshot in each built-in
skin and with the skin off, the push button's frame colours on the screen in its four states,
a press released outside that does not click, and the skinned date picker's calendar and keys."""
import os
import subprocess
import tempfile
import time
import unittest

from ktharness import BIN, Prefix, pointer_click, pointer_to, wait_for, xdo

BUILD = os.environ.get("KT_BUILD", os.path.join(os.path.dirname(BIN)))
SHOTS = os.path.join(BUILD, "gallery")


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)


def read(path):
    with open(path) as f:
        return f.read()


def pixel(shot, x, y):
    out = subprocess.run(["convert", shot, "-format", "%%[hex:p{%d,%d}]" % (x, y), "info:"],
                         capture_output=True, text=True, check=True, timeout=30).stdout
    return out.strip()[:6].upper()


class GalleryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix("gallery")
        os.makedirs(SHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.stop()

    def start(self, skin):
        log = tempfile.NamedTemporaryFile(prefix="ktgallery-", suffix=".log", delete=False).name
        self.prefix.ensure_server()
        proc = subprocess.Popen(["wine", os.path.join(BIN, "ktgallery.exe"), "show", skin, log],
                                env=self.prefix.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (proc.poll() is None and proc.kill(), os.path.exists(log) and os.remove(log)))
        wait_for(lambda: "ready" in read(log), 30, what="the gallery")
        out = self.prefix.drive("windows")
        form = None
        for line in out.splitlines():
            f = line.split("\t")
            if len(f) > 5 and f[2] == "Ketravo Gallery" and f[5] == "1":
                form = int(f[0])
                self.form_rect = tuple(int(v) for v in f[3].split(","))
        self.assertIsNotNone(form)
        children = {}
        for line in self.prefix.drive("children", form).splitlines():
            f = line.split("\t")
            if len(f) > 3:
                children.setdefault(f[2], tuple(int(v) for v in f[3].split(",")))
        return log, proc, form, children

    def test_a_screenshot_in_each_skin_and_the_button_faces_in_each_state(self):
        for skin in ["none", "0", "1", "2"]:
            with self.subTest(skin=skin):
                log, proc, form, children = self.start(skin)
                time.sleep(0.5)
                l, t, r, b = self.form_rect
                full = os.path.join(SHOTS, "screen-%s.png" % skin)
                screenshot(full)
                subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (r - l, b - t, l, t),
                                os.path.join(SHOTS, "gallery-%s.png" % ("off" if skin == "none" else skin))],
                               check=True, timeout=30)
                # The track bar sits on the face around it, as the form's other controls do.
                track = next(tuple(int(v) for v in f[3].split(","))
                             for f in (l.split("\t") for l in self.prefix.drive("children", form).splitlines())
                             if len(f) > 3 and f[1].lower() == "msctls_trackbar32")
                self.assertEqual(pixel(full, track[2] - 2, track[1] + 1), pixel(full, track[2] + 3, track[1] + 1))
                os.remove(full)
                if skin != "none":
                    self.check_faces(log, children)
                proc.kill()
                proc.wait(timeout=20)

    def check_faces(self, log, children):
        lines = read(log).split("\n")
        expect = {f[1]: f[2] for f in (l.split() for l in lines) if len(f) == 3 and f[0] == "expect"}
        margin = int(next(l.split()[1] for l in lines if l.startswith("margin ")))
        self.assertEqual(len(set(expect.values())), 4, expect)  # the four frames differ in this skin
        button, disabled, edit = children["Button"], children["Disabled button"], children["Edit text"]
        shot = os.path.join(SHOTS, "state.png")

        def face(rect):
            screenshot(shot)
            return pixel(shot, rect[0] + margin, rect[1])

        pointer_click(type("W", (), dict(left=edit[0], top=edit[1], right=edit[2], bottom=edit[3]))())
        pointer_to(edit[0] + 5, edit[3] + 40)  # off the button, focus in the edit
        time.sleep(0.3)
        self.assertEqual(face(button), expect["normal"])
        self.assertEqual(face(disabled), expect["disabled"])
        pointer_to(button[0] + 20, button[1] + 10)
        time.sleep(0.3)
        self.assertEqual(face(button), expect["hot"])
        xdo("mousedown", 1)
        time.sleep(0.3)
        self.assertEqual(face(button), expect["pressed"])
        # Released outside: no click.
        pointer_to(button[2] + 60, button[3] + 60)
        xdo("mouseup", 1)
        time.sleep(0.5)
        self.assertNotIn("click Button\n", read(log))
        # Released inside: exactly one.
        pointer_to(button[0] + 20, button[1] + 10)
        xdo("click", 1)
        wait_for(lambda: "click Button\n" in read(log), 10, what="the click")
        time.sleep(0.5)
        self.assertEqual(read(log).count("click Button\n"), 1)
        # A disabled button does not react.
        pointer_to(disabled[0] + 20, disabled[1] + 10)
        xdo("click", 1)
        time.sleep(0.5)
        self.assertNotIn("click ButtonOff", read(log))
        self.assertEqual(face(disabled), expect["disabled"])
        os.remove(shot)

    def test_grouped_speed_buttons_follow_real_clicks(self):
        """The gallery's grouped speed buttons clicked with the real pointer: the clicked one goes
        down and stays down, its partner comes up; skinned, the down one shows the pressed face."""
        for skin in ["none", "0"]:
            with self.subTest(skin=skin):
                log, proc, form, children = self.start(skin)
                left, right = (type("W", (), dict(left=r[0], top=r[1], right=r[2], bottom=r[3]))()
                               for r in (children["Left"], children["Right"]))

                def clicks():
                    return [l for l in read(log).split("\n") if l.startswith("click Group")]

                steps = [(right, "click GroupB GroupA=0 GroupB=1"), (right, "click GroupB GroupA=0 GroupB=1"),
                         (left, "click GroupA GroupA=1 GroupB=0")]
                for n, (button, line) in enumerate(steps, 1):
                    pointer_click(button)
                    wait_for(lambda: len(clicks()) == n, 10, what="click %d" % n)
                    self.assertEqual(clicks()[-1], line)
                if skin != "none":
                    lines = read(log).split("\n")
                    expect = {f[1]: f[2] for f in (l.split() for l in lines) if len(f) == 3 and f[0] == "expect"}
                    margin = int(next(l.split()[1] for l in lines if l.startswith("margin ")))
                    time.sleep(0.3)
                    shot = os.path.join(SHOTS, "group.png")
                    screenshot(shot)
                    self.assertEqual(pixel(shot, left.left + margin, left.top), expect["pressed"])
                    self.assertEqual(pixel(shot, right.left + margin, right.top), expect["normal"])
                    os.remove(shot)
                proc.kill()
                proc.wait(timeout=20)

    def test_the_skinned_date_picker_drops_its_calendar_and_takes_keys(self):
        log, proc, form, _ = self.start("0")
        pickers = []
        for line in self.prefix.drive("children", form).splitlines():
            f = line.split("\t")
            if len(f) > 7 and f[1] == "SysDateTimePick32" and f[7] == "1":
                pickers.append(tuple(int(v) for v in f[3].split(",")))
        pickers.sort()
        self.assertEqual(len(pickers), 2)  # the enabled ones: drop-down, then up-down
        l, t, r, b = pickers[0]

        def calendar_shown():
            return any(f[1] == "SysMonthCal32" and f[5] == "1"
                       for f in (line.split("\t") for line in self.prefix.drive("windows").splitlines())
                       if len(f) > 5)

        pointer_to(r - 8, (t + b) // 2)
        xdo("click", 1)
        wait_for(calendar_shown, 10, what="the calendar")
        xdo("click", 1)  # the button again: closed
        wait_for(lambda: not calendar_shown(), 10, what="the calendar to close")
        # The month field, one month on, then the day typed (two digits fill the field).
        pointer_to(l + 8, (t + b) // 2)
        xdo("click", 1)
        xdo("key", "Up")
        wait_for(lambda: "date DateCombo 2026-04-14" in read(log), 10, what="the next month")
        xdo("key", "Right")
        xdo("type", "09")
        wait_for(lambda: "date DateCombo 2026-04-09" in read(log), 10, what="the typed day")
        proc.kill()
        proc.wait(timeout=20)


if __name__ == "__main__":
    unittest.main()
