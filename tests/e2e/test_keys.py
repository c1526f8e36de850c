"""Keys in braces: one click fills a whole form, in the test target and in a real program's dialog."""
import os
import time
import unittest

from ktharness import App, capture, FormTarget, Prefix, pointer_click, unix_to_wine, wait_for, xkey


def write_lines(folder, name, lines):
    """A scheme file written by hand, line for line (code-page bytes, CR LF)."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".dat"), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))


class KeysInBracesTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")

    def tearDown(self):
        self.app.stop()

    def buttons(self):
        return {b.text: b for b in self.app.scheme_buttons()}

    def test_one_click_fills_the_form_a_pause_holds_and_bad_or_plain_texts_type_no_keys(self):
        write_lines(self.data, "button", [
            "C01Form", "T02Jane Doe{TAB}12 Market Street{TAB}Springfield{ENTER}",
            "C01Slow", "T02ab{DELAY 700}cd",
            "C01Plain", "T01{TAB}x{ENTER} + ^ % ~",
            "C01Bad", "T02x{NOPE}y",
            "D010"])
        self.app.start()
        self.app.bar_aside()
        form = FormTarget(self.app)
        self.addCleanup(form.proc.kill)
        capture(form.click_in)

        pointer_click(self.buttons()["Form"])
        wait_for(lambda: self.app.text(form.submitted) == "Submitted 1", what="the form submitted")
        self.assertEqual(form.texts(), ["Jane Doe", "12 Market Street", "Springfield"])
        self.assertEqual(int(self.prefix.drive("foreground").strip()), form.hwnd)

        # {DELAY 700} between b and c, nothing between the others.
        form.clear()
        pointer_click(self.app.control(form.fields[0]))
        pointer_click(self.buttons()["Slow"])
        wait_for(lambda: form.texts()[0] == "abcd", what="the slow text")
        at = {length: ms for length, ms in form.changes(0)}
        print("{DELAY 700} between its neighbours: %d ms" % (at[3] - at[2]))
        self.assertGreaterEqual(at[3] - at[2], 650, form.changes(0))
        self.assertLess(at[2] - at[1], 300, form.changes(0))

        # A plain text keeps its braces: typed as it stands, no Tab, no Enter.
        form.clear()
        pointer_click(self.buttons()["Plain"])
        wait_for(lambda: form.texts()[0] == "{TAB}x{ENTER} + ^ % ~", what="the plain text")
        time.sleep(0.5)
        self.assertEqual(self.app.text(form.submitted), "Submitted 1")
        self.assertEqual(form.texts()[1:], ["", ""])

        # A bad text written by hand: a message naming the button and the problem, nothing typed.
        form.clear()
        pointer_click(self.buttons()["Bad"])
        box = self.app.wait_dialog()
        self.assertIn('The button "Bad" was not typed: Unknown key {NOPE} at character 2', " ".join(box["texts"]))
        self.app.click_answer(box, "OK")
        pointer_click(self.app.control(form.fields[0]))
        xkey("m")
        wait_for(lambda: form.texts()[0], what="the marker key")
        time.sleep(0.5)
        self.assertEqual(form.texts(), ["m", "", ""])
        self.assertEqual(self.app.text(form.submitted), "Submitted 1")

    def test_the_check_box_with_the_keyboard_and_a_bad_text_refused_on_add(self):
        from test_config import ConfigWindow
        write_lines(self.data, "button", ["C01Old", "T01old", "D010"])
        self.app.start()
        self.app.bar_aside()
        cfg = ConfigWindow(self.app)
        self.app.to_front(cfg.window)
        self.app.pick(cfg.scheme_list, 0)
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["Old"], what="the scheme's buttons")
        box = cfg.button_cmd["Keys in braces"]
        checked = lambda: self.prefix.drive("send", box, 0x00F0, 0, 0).strip() == "1"  # BM_GETCHECK
        self.app.type_into(cfg.caption_edit, "Form")
        self.app.type_into(cfg.text_edit, "a{NOPE}")
        xkey("Tab")
        wait_for(lambda: self.app.focus_of(cfg.window.hwnd) == box, what="Tab from the text to the check box")
        xkey("space")
        wait_for(checked, what="Space ticks the box")
        self.app.click(cfg.button_cmd["Add"])
        cfg.wait_status("ERROR: Unknown key {NOPE} at character 2")
        self.assertEqual(self.app.text(cfg.text_edit), "a{NOPE}")
        self.assertEqual(cfg.shown(cfg.text_list), ["old"])
        self.app.type_into(cfg.text_edit, "a{TAB}b")
        self.app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        self.assertEqual(cfg.shown(cfg.text_list), ["old", "[keys] a{TAB}b"])
        import pixels
        pixels.save_window(pixels.screenshot("keys-config"), self.app.find(cls="TConfigForm"), "keys-config")
        # Alt+K takes it off again for the next button.
        self.app.to_front(cfg.window)
        xkey("alt+k")
        wait_for(lambda: not checked(), what="Alt+K unticks the box")
        self.app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        with open(os.path.join(self.data, "button.dat"), "rb") as f:
            self.assertEqual(f.read(), b"C01Old\r\nT01old\r\nC01Form\r\nT02a{TAB}b\r\nD010\r\n")

    def test_one_click_fills_the_open_dialog_of_notepad(self):
        note = os.path.join(self.app.start_dir, "note.txt")
        with open(note, "w") as f:
            f.write("opened by one click")
        write_lines(self.data, "button", ["C01Open", "T02{CLEARFIELD}" + unix_to_wine(note) + "{ENTER}", "D010"])
        self.app.start()
        self.app.bar_aside()
        import subprocess
        notepad = subprocess.Popen(["wine", "notepad"], env=self.prefix.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            main = wait_for(lambda: self.app.find(cls="Notepad"), what="notepad")
            self.app.to_front(main, main.left + main.width // 2, main.top + main.height // 2)
            xkey("ctrl+o")
            dialog = wait_for(lambda: self.app.find(title="Open"), what="the Open dialog")
            wait_for(lambda: int(self.prefix.drive("foreground").strip()) == dialog.hwnd, what="the dialog in front")
            # Something in the file name box first, as a user may have left it.
            xkey("x")
            time.sleep(0.3)
            capture(lambda: None)
            pointer_click(self.buttons()["Open"])
            wait_for(lambda: "note" in (self.app.find(cls="Notepad").text or ""), what="the file opened")
            edit = next(c for c in self.app.children(self.app.find(cls="Notepad").hwnd) if c.cls.lower() == "edit")
            self.assertEqual(self.app.text(edit.hwnd), "opened by one click")
            self.assertIsNone(self.app.find(title="Open"))
        finally:
            notepad.kill()


if __name__ == "__main__":
    unittest.main()
