"""The gallery of skinned controls, driven with the real pointer: a screenshot in each built-in
skin, in Blue without its up-down pictures and with the skin off (tabs at the bottom and the
side, images on tabs and header sections), the push button's frame colours on the screen in its four states,
a press released outside that does not click, and the skinned date picker's calendar and keys."""
import os
import subprocess
import tempfile
import time
import unittest

import pixels
from ktharness import BIN, Prefix, pointer_click, pointer_to, wait_for, xdo

# What a skinned push button shows at (LeftWidth, 0) = (4, 0) in each state: the top row of the
# "Buttons" picture's frames 1 (normal), 2 (pressed), 3 (disabled) and 4 (hot), five frames of
# 24 pixels side by side, read once from the built-in skins' buttons.bmp (Blue, Silver, Green).
MARGIN = 4
FACES = {
    "0": {"normal": (0x7F, 0x87, 0x94), "pressed": (0x18, 0x46, 0xA0), "disabled": (0x9C, 0xAA, 0xC2),
          "hot": (0x3A, 0x7A, 0xDE)},
    "1": {"normal": (0x87, 0x89, 0x8C), "pressed": (0x46, 0x56, 0x78), "disabled": (0xB9, 0xBB, 0xC2),
          "hot": (0x70, 0x84, 0xAA)},
    "2": {"normal": (0x81, 0x8E, 0x7E), "pressed": (0x1E, 0x68, 0x28), "disabled": (0x9F, 0xB6, 0x9B),
          "hot": (0x48, 0xA0, 0x4A)},
}


def read(path):
    with open(path) as f:
        return f.read()


def face(rect):
    """The top-left face pixel of a button (a rectangle) on the screen now."""
    return pixels.screenshot("gallery-state").pixel(rect[0] + MARGIN, rect[1])


def wait_face(rect, colour, what):
    wait_for(lambda: face(rect) == colour, 10, what="%s: %s (is %s)" % (what, colour, face(rect)))


class GalleryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix("gallery")

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
        # "0u": Blue without its up-down pictures, whose arrows fall back to lines.
        for skin in ["none", "0", "1", "2", "0u"]:
            with self.subTest(skin=skin):
                log, proc, form, children = self.start(skin)
                time.sleep(0.5)
                l, t, r, b = self.form_rect
                full = pixels.screenshot("gallery-screen")
                pixels.save_window(full, type("W", (), dict(left=l, top=t, width=r - l, height=b - t))(),
                                   "gallery-%s" % ("off" if skin == "none" else skin))
                # The track bar sits on the face around it, as the form's other controls do.
                track = next(tuple(int(v) for v in f[3].split(","))
                             for f in (l.split("\t") for l in self.prefix.drive("children", form).splitlines())
                             if len(f) > 3 and f[1].lower() == "msctls_trackbar32")
                self.assertEqual(full.pixel(track[2] - 2, track[1] + 1), full.pixel(track[2] + 3, track[1] + 1))
                if skin in FACES:
                    self.check_faces(log, children, FACES[skin])
                proc.kill()
                proc.wait(timeout=20)

    def check_faces(self, log, children, expect):
        button, disabled, edit = children["Button"], children["Disabled button"], children["Edit text"]

        pointer_click(type("W", (), dict(left=edit[0], top=edit[1], right=edit[2], bottom=edit[3]))())
        pointer_to(edit[0] + 5, edit[3] + 40)  # off the button, focus in the edit
        wait_face(button, expect["normal"], "the button's normal face")
        self.assertEqual(face(disabled), expect["disabled"])
        pointer_to(button[0] + 20, button[1] + 10)
        wait_face(button, expect["hot"], "the button's hot face")
        xdo("mousedown", 1)
        wait_face(button, expect["pressed"], "the button's pressed face")
        # Released outside: no click. Then released inside: the one click the log shows.
        pointer_to(button[2] + 60, button[3] + 60)
        xdo("mouseup", 1)
        pointer_to(button[0] + 20, button[1] + 10)
        xdo("click", 1)
        wait_for(lambda: "click Button\n" in read(log), 10, what="the click")
        # A disabled button does not react: a click on it, then one on a speed button that does.
        pointer_to(disabled[0] + 20, disabled[1] + 10)
        xdo("click", 1)
        left = children["Left"]
        pointer_to(left[0] + 10, left[1] + 10)
        xdo("click", 1)
        wait_for(lambda: "click GroupA" in read(log), 10, what="the speed button's click")
        self.assertEqual(read(log).count("click Button\n"), 1)
        self.assertNotIn("click ButtonOff", read(log))
        self.assertEqual(face(disabled), expect["disabled"])

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
                    pointer_to(left.left + 5, left.bottom + 60)  # off the buttons: no hot face
                    wait_face(children["Left"], FACES[skin]["pressed"], "the down button's face")
                    self.assertEqual(face(children["Right"]), FACES[skin]["normal"])
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
