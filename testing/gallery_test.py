#!/usr/bin/env python3
"""Drives uikit_gallery.exe on the wine display and checks what it shows.

Cases:
  click_en  English description, layered painting: skin images and text at
            their places, a click on the button prints "clicked id_install",
            a click on the check box prints "changed" then "clicked" and shows
            the checked mark, Alt+F4 closes the window.
  shot_zh   Chinese description (Chinese system language): the texts render.
  paint16   English description on a 16-bit display (--bpp 16): painted on
            WM_PAINT, clicks and the check box's repaint work the same way.
Screenshots go to OUT/gallery_<lang>[_16].png for people to look at.
"""
import argparse
import os
import queue
import subprocess
import sys
import threading
import time

# Geometry of testing/fixtures/gallery/*.xml, client coordinates.
BANNER = (6, 6)
INSTALL = (156, 262, 180, 42)
CHECKBOX = (20, 312, 120, 27)
LINK = (150, 318, 220, 20)
PROGRESS = (20, 356, 405, 2)
STATUS = (20, 366, 400, 24)


class Failure(Exception):
    pass


def read_ppm(png_path):
    """RGB pixels of an image as (width, height, bytes)."""
    data = subprocess.run(["convert", png_path, "-alpha", "off", "ppm:-"],
                          check=True, stdout=subprocess.PIPE).stdout
    # Header: "P6" width height maxval, each followed by one whitespace byte;
    # the pixels start right after the maxval's (they may look like spaces).
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1: pos + 1 + width * height * 3]


class Image:
    def __init__(self, path):
        self.path = path
        self.width, self.height, self.bytes = read_ppm(path)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.bytes[i:i + 3])

    def bright_pixels(self, box, threshold=190):
        x0, y0, w, h = box
        return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w)
                   if min(self.pixel(x, y)) >= threshold)


def close_to(a, b, tolerance=6):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class Gallery:
    def __init__(self, args, description, extra, env):
        self.args = args
        self.lines = queue.Queue()
        self.log = []
        command = [args.wine_run, args.exe, winpath(description), "--seconds", "90"] + extra
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, env=env)
        threading.Thread(target=self._reader, daemon=True).start()

    def _reader(self):
        for raw in self.process.stdout:
            line = raw.decode("utf-8", "replace").strip()
            self.log.append(line)
            self.lines.put(line)
        self.lines.put(None)

    def expect(self, wanted, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                line = self.lines.get(timeout=max(0.1, deadline - time.time()))
            except queue.Empty:
                break
            if line is None:
                break
            if line == wanted or line.startswith(wanted + " ") and wanted == "window":
                return line
            if line.startswith(("clicked", "changed", "rclicked")):
                raise Failure("expected %r, got %r (log %r)" % (wanted, line, self.log))
        raise Failure("no %r within %d s (log %r)" % (wanted, timeout, self.log))

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def display_of(args):
    state = os.path.join(os.path.dirname(args.wine_run), "wine", "xvfb-display")
    if os.path.exists(state):
        return ":" + open(state).read().strip()
    return os.environ.get("DISPLAY", "")


def screenshot(window, path):
    left, top, right, bottom = window
    subprocess.run(["import", "-window", "root", "-crop",
                    "%dx%d+%d+%d" % (right - left, bottom - top, left, top), path],
                   check=True)
    return Image(path)


def click(window, x, y):
    subprocess.run(["xdotool", "mousemove", str(window[0] + x), str(window[1] + y),
                    "click", "1"], check=True)


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_skin(shot, skin, checked):
    """Skin images at their described places, drawn 1:1 where compared."""
    app = Image(os.path.join(skin, "APP.png"))
    for x, y in ((240, 120), (30, 200), (400, 60)):
        check(close_to(shot.pixel(BANNER[0] + x, BANNER[1] + y), app.pixel(x, y)),
              "banner pixel (%d,%d): %r, APP has %r" % (x, y, shot.pixel(BANNER[0] + x, BANNER[1] + y),
                                                       app.pixel(x, y)))
    button = Image(os.path.join(skin, "DLG_BTN_INSTALL.png"))
    # The left 3-pixel column of the strip's first cell is copied 1:1 by the
    # nine-part stretch; rows map 1:1 (button and cell are both 42 high).
    for y in (10, 21, 32):
        got = shot.pixel(INSTALL[0] + 1, INSTALL[1] + y)
        check(close_to(got, button.pixel(1, y)),
              "button pixel row %d: %r, image has %r" % (y, got, button.pixel(1, y)))
    box = Image(os.path.join(skin, "CHECKBOX.png"))
    cell_x = 20 if checked else 0
    mark_top = CHECKBOX[1] + (CHECKBOX[3] - box.height) // 2
    got = shot.pixel(CHECKBOX[0] + 10, mark_top + 10)
    check(close_to(got, box.pixel(cell_x + 10, 10)),
          "check box mark (%s): %r, image has %r" % ("checked" if checked else "unchecked",
                                                     got, box.pixel(cell_x + 10, 10)))
    fill = Image(os.path.join(skin, "PROGRESS.png"))
    # The whole fill image is squeezed into the filled length (202 of 405),
    # so screen x maps to image x × 405 / 202.
    got = shot.pixel(PROGRESS[0] + 100, PROGRESS[1])
    want = fill.pixel(100 * fill.width // (PROGRESS[2] // 2), 0)
    check(close_to(got, want), "progress fill: %r, image has %r" % (got, want))
    # 0.5 of 405 pixels: past 202 the track shows, not the fill.
    got = shot.pixel(PROGRESS[0] + 330, PROGRESS[1])
    check(not close_to(got, fill.pixel(330, 0), 20), "progress filled beyond half: %r" % (got,))


def check_text(shot):
    for name, box in (("status static", STATUS), ("button caption", INSTALL),
                      ("check box caption", (CHECKBOX[0] + 25, CHECKBOX[1], 95, CHECKBOX[3]))):
        count = shot.bright_pixels(box)
        check(count >= 15, "%s: only %d light pixels of text" % (name, count))
    # The link is cyan (0,213,254).
    x0, y0, w, h = LINK
    cyan = sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w)
               if close_to(shot.pixel(x, y), (0, 213, 254), 60))
    check(cyan >= 10, "link: only %d cyan pixels" % cyan)


def run_case(args):
    env = dict(os.environ)
    env["DISPLAY"] = display_of(args)
    os.makedirs(args.out, exist_ok=True)
    lang = "zh" if args.case == "shot_zh" else "en"
    if lang == "zh":
        env["LC_ALL"] = "zh_CN.UTF-8"
    extra = ["--progress", "0.5"]
    shot_name = "gallery_%s.png" % lang
    if args.case == "paint16":
        extra += ["--bpp", "16"]
        shot_name = "gallery_en_16.png"
    description = os.path.join(args.fixtures, "gallery_%s.xml" % lang)
    # The mouse starts away from the window, so nothing is hovered.
    subprocess.run(["xdotool", "mousemove", "0", "0"], env=env, check=False)
    os.environ["DISPLAY"] = env["DISPLAY"]
    gallery = Gallery(args, description, extra, env)
    try:
        gallery.expect("shown")
        window = tuple(int(v) for v in gallery.expect("window").split()[1:])
        check(window[2] - window[0] == 492 and window[3] - window[1] == 402,
              "window rectangle %r" % (window,))
        shot = screenshot(window, os.path.join(args.out, shot_name))
        check_skin(shot, args.skin, checked=False)
        check_text(shot)
        if args.case == "shot_zh":
            return
        click(window, INSTALL[0] + INSTALL[2] // 2, INSTALL[1] + INSTALL[3] // 2)
        gallery.expect("clicked id_install")
        click(window, CHECKBOX[0] + 10, CHECKBOX[1] + CHECKBOX[3] // 2)
        gallery.expect("changed id_checkbox")
        gallery.expect("clicked id_checkbox")
        click(window, LINK[0] + 30, LINK[1] + 10)
        gallery.expect("clicked id_openurl")
        # Away from the controls, then let the repaint land before looking.
        subprocess.run(["xdotool", "mousemove", str(window[0] + 240), str(window[1] + 120)],
                       check=True)
        deadline = time.time() + 10
        while True:
            shot = screenshot(window, os.path.join(args.out, "checked_" + shot_name))
            try:
                check_skin(shot, args.skin, checked=True)
                break
            except Failure:
                if time.time() > deadline:
                    raise
                time.sleep(0.2)
        # Alt+F4 reaches the default handling through WM_SYSKEYDOWN and
        # closes the window; the program then ends on its own.
        subprocess.run(["xdotool", "key", "alt+F4"], check=True)
        try:
            code = gallery.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("the gallery did not end after Alt+F4")
        check(code == 0, "exit code %d" % code)
    finally:
        gallery.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--skin", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--case", required=True, choices=["click_en", "shot_zh", "paint16"])
    args = parser.parse_args()
    try:
        run_case(args)
    except Failure as failure:
        print("FAIL:", failure)
        return 1
    print("ok", args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
