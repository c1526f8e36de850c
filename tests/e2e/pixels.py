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

    def pixels(self, left, top, width, height):
        """The RGB triples of a rectangle, row by row."""
        return [self.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)]

    def text_height(self, window):
        """The height in rows of the first line of text in a window's rectangle: the first run of
        rows that hold a pixel far from the rectangle's commonest colour (its background)."""
        area = self.pixels(window.left, window.top, window.width, window.height)
        back = max(set(area), key=area.count)
        rows = [any(not near(p, back, 60) for p in area[y * window.width:(y + 1) * window.width])
                for y in range(window.height)]
        first = rows.index(True)
        return next((y for y in range(first, len(rows)) if not rows[y]), len(rows)) - first

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


def caption_shows_top_picture(shot, window, x, skin):
    """Whether the caption column x of a window shows the skin's "Top" picture (either state):
    at least 8 rows in 10 match a pixel of the picture's same row."""
    top = skin_picture(skin, "frametop.bmp")
    rows = top.height // 2
    hits = 0
    for y in range(rows):
        seen = shot.pixel(window.left + x, window.top + y)
        row = {top.pixel(px, y + half * rows) for px in range(top.width) for half in (0, 1)}
        hits += any(near(seen, p, 2) for p in row)
    return hits >= rows * 8 // 10
