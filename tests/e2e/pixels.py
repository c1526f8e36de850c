"""Screenshots and skin pictures as pixels, through ImageMagick (no image library needed)."""
import os
import subprocess

BUILD = os.environ.get("KT_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "win32"))
SHOTS = os.environ.get("KT_SHOTS", os.path.join(BUILD, "..", "shots"))
SKIN_SOURCES = os.path.join(BUILD, "..", "native", "skins", "src")


class Picture:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, left, top, width, height):
        rows = []
        for y in range(top, top + height):
            i = (y * self.width + left) * 3
            rows.append(self.data[i:i + width * 3])
        return Picture(width, height, b"".join(rows))


def load(path):
    w, h = (int(v) for v in subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                                           check=True, timeout=30).stdout.split())
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True, timeout=30).stdout
    return Picture(w, h, data)


def screenshot(name):
    """The whole screen, saved under the shots folder as name.png."""
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)
    return load(path)


def save_window(shot, window, name):
    """A window's rectangle of a screenshot, saved as name.png."""
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    part = shot.crop(max(0, window.left), max(0, window.top), min(window.width, shot.width - max(0, window.left)),
                     min(window.height, shot.height - max(0, window.top)))
    subprocess.run(["convert", "-size", "%dx%d" % (part.width, part.height), "-depth", "8", "rgb:-", path],
                   input=part.data, check=True, timeout=30)
    return path


def skin_picture(skin, name):
    return load(os.path.join(SKIN_SOURCES, skin, name))


def near(a, b, tolerance=8):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))
