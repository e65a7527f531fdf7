#!/usr/bin/env python3
"""End-to-end test of the window as a designer uses it: started on a folder from another
directory, every save shown at once (by rename and in place, a picture of the screen too),
pause and step, the picture saved as a PNG, the checker's findings, and files that are
half-written or garbage while the window loads them.

Usage: window_design_e2e.py PATH/TO/orvanta [SCREENSHOT_FOLDER]
Prints the time from each save to the load it caused.
"""
import os
import random
import subprocess
import sys
import tempfile
import time

import window_menu
from window_e2e import (BLACK, QUADRANTS, WHITE, Failure, Session, Shot, check, check_centred,
                        report, write_in_pieces,
                        write_picture)

MAGENTA = (255, 0, 255)


def write(path, data, rename):
    """Saves as an editor does: a new file renamed over the old one, or a write in place."""
    if rename:
        temporary = path + ".new"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, path)
    else:
        with open(path, "wb") as f:
            f.write(data)


def write_plain_picture(path, colour):
    """A 128 x 128 picture in one colour, written in place."""
    r, g, b = colour
    write_picture(path)  # the header and size of the four-colour picture
    with open(path, "r+b") as f:
        f.seek(54)
        f.write(bytes((b, g, r)) * (128 * 128))


class Designer(Session):
    """The window started as "orvanta FOLDER" from another working directory."""

    def start(self):
        super().start()  # Xvfb, the folder with pic.bmp and config.txt, and the program ...
        self.app.terminate()  # ... which is started again, the other ways
        self.app.wait()
        self.elsewhere = tempfile.mkdtemp(prefix="orvanta-e2e-cwd-")
        # Without --trace or ORVANTA_TRACE, as from the desktop entry, nothing is written.
        self.launch([self.folder], cwd=self.elsewhere)
        self.find_window("Orvanta")
        time.sleep(1)
        self.alive()
        self.app.terminate()
        self.app.wait()
        check(self.errors() == "", f"the window wrote without being asked: {self.errors()[:200]!r}")
        # The desktop entry's way to ask for the trace.
        self.launch([self.folder], cwd=self.elsewhere,
                    env=dict(self.env, ORVANTA_TRACE=self.trace_path))

    def loads(self):
        return self.trace().count("LoadConfigFromSD Start")

    def wait_for_picture(self, window, colours, name, what):
        """Waits until the picture's top-left and bottom-right corners show `colours`. The
        second a save may take is held by wait_for_load, from the program's own trace: on a
        busy machine one screenshot alone can take longer."""
        deadline = time.time() + 20
        while True:
            shot = self.shoot(window, name)
            x0, y0, x1, y1 = shot.bounding_box(QUADRANTS + [MAGENTA])
            if {shot.at(x0 + 10, y0 + 10), shot.at(x1 - 10, y1 - 10)} == colours:
                return
            check(time.time() < deadline, f"{what} did not change the picture")

    def wait_for_load(self, before, what):
        """Seconds until the trace shows a load after `before` loads; at most one second."""
        started = time.time()
        while self.loads() <= before:
            check(time.time() - started < 1.0, f"{what} was not loaded within a second")
            time.sleep(0.005)
        return time.time() - started




def run(s):
    config = os.path.join(s.folder, "config.txt")
    s.start()
    main = s.find_window("Orvanta")
    deadline = time.time() + 10  # a busy machine may take a while to paint the first frame
    while True:
        time.sleep(0.5)
        s.alive()
        try:
            x0, y0, top = check_centred(s.shoot(main, "d1-folder-argument"), 128,
                                        "folder argument")
            break
        except Failure:
            if time.time() > deadline:
                raise
    s.point(main, 700 // 2, 12, 0.2)

    # Every save shows at once: a save by rename, then one in place, then a picture that
    # the file on show draws. Each must change the picture within a second.
    write_plain_picture(os.path.join(s.folder, "plain.bmp"), MAGENTA)
    timings = []
    steps = ((lambda: write(config, b"image;plain.bmp\n", True), {MAGENTA}, "a save by rename"),
             (lambda: write(config, b"image;pic.bmp\n", False), set(QUADRANTS[::3]),
              "a save in place"),
             (lambda: write_plain_picture(os.path.join(s.folder, "pic.bmp"), MAGENTA), {MAGENTA},
              "a saved picture"))
    for number, (save, colours, what) in enumerate(steps):
        before = s.loads()
        save()
        timings.append(s.wait_for_load(before, what))
        s.wait_for_picture(main, colours, f"d2-save-{number}", what)
    before = s.loads()
    write_picture(os.path.join(s.folder, "pic.bmp"))
    s.wait_for_load(before, "the picture written again")
    print("window_design_e2e: save to load: " +
          ", ".join(f"{t * 1000:.0f} ms" for t in timings))

    # A file written in pieces 50 ms apart, each piece closing the file, loads once, whole.
    for attempt in range(3):
        before = s.loads()
        on_time = write_in_pieces(config, b"image;plain.bmp\n", reopen=True)
        settled = s.wait_for_load(before, "a file written in pieces")
        s.wait_for_picture(main, {MAGENTA}, "d2-pieces", "a file written in pieces")
        time.sleep(0.5)
        if on_time:
            break
        write(config, b"image;pic.bmp\n", False)  # the writer fell behind: again
        s.wait_for_load(s.loads(), "the file before another try")
    check(s.loads() == before + 1, f"{s.loads() - before} loads of a file written in pieces")
    print(f"window_design_e2e: last piece to load: {settled * 1000:.0f} ms")

    # Pause: no frame runs; one step runs exactly one.
    time.sleep(0.3)
    s.keys("ctrl+p")
    time.sleep(0.4)
    frames = s.trace().count("R")
    time.sleep(0.5)
    check(s.trace().count("R") == frames, "frames ran while paused")
    s.keys("ctrl+period")
    time.sleep(0.5)
    check(s.trace().count("R") == frames + 1, "a step did not run exactly one frame")

    # The picture saved as a PNG is the surface on show.
    png = os.path.join(s.elsewhere, "saved.png")
    s.keys("ctrl+s")
    dialog = s.find_window("Save picture as PNG")
    s.point(dialog, 150, 20, 0.5)
    s.keys("ctrl+a")  # the proposed name, to be replaced by a full path
    s.x("xdotool", "type", "--delay", "20", png)
    # Return only once the dialog has taken every key and its completion: its picture holds
    # still for half a second.
    shown, deadline = None, time.time() + 20
    while (shot := s.shoot(dialog, "d3-save-dialog").pixels) != shown:
        check(time.time() < deadline, "the file dialog kept changing")
        shown = shot
        time.sleep(0.5)
    s.keys("Return")
    s.wait_until_closed("Save picture as PNG", "the file dialog did not close")
    check(os.path.exists(png), "no PNG was written")
    saved = Shot(subprocess.run(["convert", png, "ppm:-"], env=s.env, capture_output=True,
                                check=True, timeout=15).stdout)
    shown = s.shoot(main, "d3-paused")
    check((saved.width, saved.height) == (128, 128), "the PNG is not 128 x 128 at zoom 1")
    check(saved.region(0, 0, 128, 128) == shown.region(x0, y0, x0 + 128, y0 + 128),
          "the saved PNG differs from the picture on show")
    s.keys("ctrl+p")

    # A file with a known mistake: the menu bar signs it and the findings window lists it.
    before = s.loads()
    write(config, b"image;pic.bmp\ntacho;10;10;20;100;0\n", True)
    s.wait_for_load(before, "the file with a mistake")
    time.sleep(0.3)
    s.keys("ctrl+e")
    findings = s.find_window("Findings in config.txt: 1 error")
    s.shoot(findings, "d4-findings")
    menu_bar = s.shoot(main, "d4-menu-sign").region(0, 0, 500, top)
    check(menu_bar != shown.region(0, 0, 500, top), "the menu bar shows no sign of the error")

    # Half-written and garbage files are loaded as the device would read them.
    for name, data in (("half", b"image;pic.bmp\nToggleText;10;10;HAL"),
                       ("garbage", bytes(random.Random(7).randrange(256) for _ in range(4096))),
                       ("whole", b"image;pic.bmp\n")):
        before = s.loads()
        write(config, data, False)
        s.wait_for_load(before, f"the {name} file")
        time.sleep(0.2)
        s.alive()
    check_centred(s.shoot(main, "d5-whole-again"), 128, "after the garbage")
    line_under_cursor(s, main, config, x0, y0, top)

    window_menu.choose(s, main, 0, 0)  # "File" -> "Exit"
    status = s.app.wait(timeout=30)  # the leak check at exit is slow on a busy machine
    check(status == 0, f"exit status {status}; standard error: {s.errors()[-3000:]}")


def line_under_cursor(s, main, config, x0, y0, top):
    """Design -> "Show the line under the cursor" (Ctrl+L): a fifth text at (10, 90) names
    the line that drew the pixel under the pointer, "Line: none" beside the picture, and
    goes when the item is unchecked. The lamp sits on the yellow quarter of the picture."""
    write(config, b"image;pic.bmp\nLED;96;96;20;0\n", True)
    lamp, corner, border = (x0 + 96, y0 + 96), (x0 + 10, y0 + 10), (x0 - 5, y0 + 96)
    deadline = time.time() + 2
    while s.shoot(main, "d6-lamp").at(*lamp) == QUADRANTS[3]:
        check(time.time() < deadline, "the file with the lamp did not show")
        time.sleep(0.1)
    band = (10, top + 90, 490, top + 110)

    def reading(name, point):
        s.point(main, *point, 0)
        s.settle()
        return s.shoot(main, f"d6-line-{name}").region(*band)

    check(set(reading("unchecked", lamp)) == {BLACK}, "a fifth text before the item is checked")
    s.keys("ctrl+l")
    readings = {name: reading(name, point) for name, point in
                (("lamp", lamp), ("picture", corner), ("border", border), ("off", (400, 5)))}
    for name, region in readings.items():
        check(WHITE in region, f"no fifth text over the {name}")
    check(readings["border"] == readings["off"], "the border does not read as 'Line: none'")
    widths = {name: max(i % 480 for i, p in enumerate(region) if p == WHITE)
              for name, region in readings.items()}
    # "Line: none" < "Line: config.txt:2: LED" < "Line: config.txt:1: image"
    check(widths["border"] < widths["lamp"] < widths["picture"],
          f"the fifth text's lengths are not those of its three readings: {widths}")
    s.keys("ctrl+l")
    s.point(main, *lamp, 0.2)
    s.until(main, "d6-line-cleared",
            lambda shot: check(set(shot.region(*band)) == {BLACK},
                               "unchecking left the fifth text standing"))


def command_line(program):
    """The folder argument's mistakes, without a display."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    for args, status, text in ((["--version"], 0, "orvanta 1.0.0"),
                               (["/no/such/folder"], 2, "does not exist"),
                               (["a", "b"], 2, "error")):
        result = subprocess.run([program] + args, capture_output=True, env=env, timeout=15)
        output = (result.stdout + result.stderr).decode(errors="replace")
        check(result.returncode == status, f"{args}: status {result.returncode}")
        check(text in output, f"{args}: {output!r}")
        if status == 2:
            check(output.count("\n") == 1, f"{args}: not one line: {output!r}")


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    shots = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="orvanta-e2e-shots-")
    os.makedirs(shots, exist_ok=True)
    program = os.path.abspath(sys.argv[1])
    session = Designer(program, shots)

    def body():
        command_line(program)
        run(session)
        return ""

    return report("window_design_e2e", session, body)


if __name__ == "__main__":
    sys.exit(main())
