"""The main job on the keyboards of Europe: each layout on a fresh virtual display and Wine
prefix of its own, with its X layout set before Wine starts and its locale, so the scheme's
code page matches. A real Ctrl+T on the layout's own T key, a real click on the bar's button,
and the text checked exactly in a Unicode edit box: the layout's letters, the characters
behind its AltGr, digits (Shift on AZERTY and Czech), an e-mail address and characters the
layout has no key for."""
import os
import subprocess
import unittest

from ktharness import App, Display, Prefix, Target, pointer_click, wait_for, write_scheme, xkey

CASES = [
    # layout, locale, code page, the key that is T on the layout, text
    ("us", "en_US.UTF-8", "cp1252", "t",
     "Hello World @{[]}\\~|#$%^&*() 1234567890 jane.doe@example.com \u00f1\u00e9\u20ac"),
    ("de", "de_DE.UTF-8", "cp1252", "t",
     "Gr\u00f6\u00dfe \u00c4\u00d6\u00dc \u00df @\u20ac {[]} \\ ~ | \u00b5 <> 1234567890 Zy max@beispiel.de \u00f1\u00a9"),
    ("fr", "fr_FR.UTF-8", "cp1252", "t",
     "\u00e0\u00e9\u00e8\u00e7\u00f9 @ \u20ac # { } [ ] \u00ea \u00eb 1234567890 AZERTY qwerty jean@exemple.fr \u00f1"),
    ("cz", "cs_CZ.UTF-8", "cp1250", "t",
     "P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148 \u00fap\u011bl \u010f\u00e1belsk\u00e9 \u00f3dy "
     "@{}[]#&\u20ac 1234567890 jan@priklad.cz \u0151\u0142"),
    ("ru,us", "ru_RU.UTF-8", "cp1251", "Cyrillic_ie",
     "\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 \u0411\u0423\u041b\u041e\u041a "
     "\u2116 1234567890 ivan@primer.ru Latin @#$ {[]} \u0451\u0401"),
    # Greek has no Latin letters: the Latin layout that goes with it may be in use, every character goes as itself.
    ("gr,us", "el_GR.UTF-8", "cp1253", "Greek_tau",
     "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3\u03bc\u03b5; \u038f\u03c1\u03b1: 12:30; "
     "1234567890 nikos@paradeigma.gr Latin @#$ {[]}"),
]


class LayoutTest(unittest.TestCase):
    def type_on(self, layout, lang, codepage, t_key, text, before="", notepad=None):
        with Display(layout, lang):
            prefix = Prefix("layout-" + layout.replace(",", "-"))
            app = App(prefix)
            try:
                write_scheme(os.path.join(app.start_dir, "data"), "button", [("Form", text)], 0, encoding=codepage)
                target = Target(prefix)
                bar = app.start()
                button = app.scheme_buttons(bar)[0]
                if notepad is not None:  # Notepad's edit box, read as the target's
                    notepad.append(subprocess.Popen(["wine", "notepad"], env=prefix.env, stdin=subprocess.DEVNULL,
                                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
                    target.hwnd = wait_for(lambda: app.find(cls="Notepad"), what="Notepad").hwnd
                    target.edit = next(c.hwnd for c in app.children(target.hwnd) if c.cls.lower() == "edit")
                target.click_in()
                if before:
                    xkey(before)
                # The user's Ctrl+T: Ctrl with the key that is T on this layout.
                xkey("ctrl+" + t_key)
                pointer_click(button)
                got = target.settled_text(quiet=1.0, utf16=True)
                self.assertEqual(got, before + text, "typed on the %s layout" % layout)
                self.assertEqual(app.dialogs(), [])
            finally:
                for p in notepad or []:
                    p.kill()
                    p.wait()
                app.stop()

    def test_greek_punctuation_arrives_after_latin_typing_in_notepad_and_the_target(self):
        """A Greek user types Latin letters and presses Ctrl+T in the Latin group too. Under Wine the
        group of a window's last key press decides what a key gives there (";" on the Q key types "q")."""
        for notepad in (None, []):
            with self.subTest(notepad=notepad is not None):
                self.type_on("gr,us", "el_GR.UTF-8", "cp1253", "t", "\u03b1;\u03b2: 12:30;", "x", notepad)

    def test_every_character_arrives_on_each_layout(self):
        for case in CASES:
            with self.subTest(layout=case[0]):
                self.type_on(*case)


if __name__ == "__main__":
    unittest.main()
