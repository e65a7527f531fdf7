#!/usr/bin/env python3
"""End-to-end test of the window program, driven as a user would drive it.

Runs `orvanta` under a private Xvfb server on a one-line configuration showing a
four-colour picture and checks: the title, the centred picture at zoom 1 and, through the
menu, at 400 %; the overlay under two cursor positions; the colour the overlay reports in
the truncation band left of the picture; Loop; the trace; the About box
(Alt + '/' closed with Escape, Alt + '?' closed with OK); "File" -> "Exit" with status 0.

Usage: window_e2e.py PATH/TO/orvanta [SCREENSHOT_FOLDER]
The screenshots stay in the folder (default: a new temporary one) for a person to look at.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

import window_menu

QUADRANTS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]  # TL, TR, BL, BR
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
MENU_CORNER = ("700", "12")  # a point on the menu bar of the 800 x 800 window


SUPPRESSED_LIBRARIES = ("libfontconfig.so", "libX11.so", "libXft.so", "libglib-2.0.so",
                        "libgobject-2.0.so", "libgio-2.0.so", "libgtk-x11-2.0.so",
                        "libgdk-x11-2.0.so")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def write_picture(path):
    """A 128 x 128 bottom-up 24-bit BMP: red, green, blue and yellow quadrants."""
    data = b"".join(
        bytes((b, g, r)) for y in range(127, -1, -1) for x in range(128)
        for r, g, b in [QUADRANTS[(2 if y >= 64 else 0) + (1 if x >= 64 else 0)]])
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    header += struct.pack("<iiiHHIIiiII", 40, 128, 128, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + data)


def write_in_pieces(path, data, pieces=5, gap=0.05, reopen=False):
    """Writes `data` as a slow editor does, in `pieces` writes `gap` seconds apart, through
    one open file, or with `reopen` opening and closing it for every piece. False when the
    writer fell behind its own schedule, so that the caller tries again."""
    size = -(-len(data) // pieces)
    on_time, last = True, time.monotonic()
    f = open(path, "wb")
    for i in range(pieces):
        if reopen and i > 0:
            f = open(path, "ab")
        f.write(data[i * size:(i + 1) * size])
        f.flush()
        if reopen or i == pieces - 1:
            f.close()
        if i < pieces - 1:
            time.sleep(gap)
            now = time.monotonic()
            on_time, last = on_time and now - last < 2 * gap, now
    return on_time


def start_xvfb():
    """A private Xvfb server on a free display: the server and its DISPLAY value.
    -displayfd lets the server pick the number and report it once it is up.

    -noreset: by default the server resets when its last established client leaves, and the
    reset closes every connection whose setup it has read but not yet answered. With no
    window manager here, the tests' own short xdotool and xwd clients are often the only
    established ones, so a program connecting while one of them leaves was dropped and
    reported "Can't open display"."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
         "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL)
    os.close(write_end)
    number, deadline = b"", time.time() + 10
    while not number.endswith(b"\n") and time.time() < deadline:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    check(number.strip().isdigit(), "Xvfb did not start")
    return xvfb, ":" + number.strip().decode()


def report(name, session, body):
    """Runs `body`, prints whether it passed, cleans the session up; the exit status."""
    try:
        print(f"{name}: passed{body()}; screenshots in {session.shots}")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as failure:
        print(f"{name}: FAILED: {failure}; screenshots in {session.shots}")
        if os.path.exists(session.trace_path):
            print("trace tail:", session.trace()[-600:])
        return 1
    finally:
        session.cleanup()


class Shot:
    """A screenshot of one window, from the binary PPM that ImageMagick writes (with a
    comment line after "P6")."""

    def __init__(self, data):
        header = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", data)
        check(header, "screenshot is not an 8-bit PPM")
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = data[header.end():]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i : i + 3])

    def region(self, x0, y0, x1, y1):
        return [self.at(x, y) for y in range(y0, y1) for x in range(x0, x1)]

    def rows(self, x0, y0, width, height):
        """The raw bytes of `height` rows of `width` pixels from (x0, y0)."""
        return [self.pixels[((y0 + y) * self.width + x0) * 3:
                            ((y0 + y) * self.width + x0 + width) * 3] for y in range(height)]

    def bounding_box(self, colours):
        """Smallest box (x0, y0, x1, y1), inclusive, around pixels of the given colours."""
        points = [(x, y) for y in range(self.height) for x in range(self.width)
                  if self.at(x, y) in colours]
        check(points, "none of the picture's colours is on screen")
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        return min(xs), min(ys), max(xs), max(ys)


class Session:
    def __init__(self, program, shots):
        self.program, self.shots = program, shots
        self.folder = tempfile.mkdtemp(prefix="orvanta-e2e-")
        self.trace_path = os.path.join(self.folder, "trace.txt")
        # ImageMagick's OpenMP threads spin while they wait for each other, which costs
        # most when other processes keep both cores busy.
        self.env = dict(os.environ, MAGICK_THREAD_LIMIT="1")
        self.xvfb = self.app = None

    def start(self):
        self.xvfb, self.env["DISPLAY"] = start_xvfb()
        # Under the sanitizers, the leak checker would report what these libraries keep
        # until exit: fontconfig's and the X libraries' caches, and the GTK file chooser's
        # (FLTK loads GTK at run time for the save dialog; with a new home folder GTK fails
        # to write its recent-files list and glib leaks a buffer on that path). None of them
        # calls back into our code, so a suppression cannot hide a leak of ours; FLTK does,
        # so it is not suppressed. Our leaks fail the exit status.
        suppressions = os.path.join(self.folder, "lsan.supp")
        with open(suppressions, "w") as f:
            f.write("".join(f"leak:{library}\n" for library in SUPPRESSED_LIBRARIES))
        self.env["LSAN_OPTIONS"] = f"suppressions={suppressions}:print_suppressions=0"
        write_picture(os.path.join(self.folder, "pic.bmp"))
        with open(os.path.join(self.folder, "config.txt"), "w") as f:
            f.write("image;pic.bmp\n")
        self.launch(["--trace", self.trace_path], cwd=self.folder)

    def launch(self, args, cwd, env=None):
        """Starts the program; what it writes to standard error is kept for `errors()`."""
        self.stderr_path = os.path.join(self.folder, "stderr.txt")
        with open(self.stderr_path, "wb") as stderr:
            self.app = subprocess.Popen([self.program] + args, cwd=cwd, env=env or self.env,
                                        stdout=subprocess.DEVNULL, stderr=stderr)

    def errors(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def cleanup(self):
        # SIGTERM first: Xvfb removes its lock file and socket only when it can clean up.
        for proc in (self.app, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def x(self, *args, check_result=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=15)
        if check_result and result.returncode != 0:
            raise Failure(f"{args[0]} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace").strip()

    def alive(self):
        check(self.app.poll() is None, f"orvanta ended early with status {self.app.poll()}")

    def find_window(self, name):
        deadline = time.time() + 30  # a sanitizer build starts slowly on a busy machine
        while time.time() < deadline:
            # Only a mapped window: the pointer moved onto one that is not yet placed lands
            # elsewhere, and the keys meant for it with it.
            ids = self.x("xdotool", "search", "--onlyvisible", "--name", f"^{name}$",
                         check_result=False)
            if ids:
                return ids.split()[0]
            if self.app is not None and self.app.poll() is not None:
                raise Failure(f"orvanta ended with status {self.app.poll()} before its window "
                              f"{name!r} appeared: {self.errors()[-2000:]!r}")
            time.sleep(0.05)
        raise Failure(f"no window named {name!r} appeared")

    def wait_until_closed(self, name, message):
        deadline = time.time() + 20
        while self.x("xdotool", "search", "--onlyvisible", "--name", f"^{name}$",
                     check_result=False):
            check(time.time() < deadline, message)
            time.sleep(0.05)

    def point(self, window, x, y, pause):
        """Moves the pointer; keys go to the window under it when no window manager runs."""
        self.x("xdotool", "mousemove", "--window", window, str(x), str(y))
        time.sleep(pause)

    def settle(self, frames=3, timeout=20):
        """Waits until the program has painted `frames` more frames (the trace has an "R" for
        each). Every paint reads where the pointer is, so the overlay then shows the place
        the pointer was moved to; a fixed pause was too short on a busy machine."""
        target = self.trace().count("R") + frames
        deadline = time.time() + timeout
        while self.trace().count("R") < target:
            check(time.time() < deadline, f"fewer than {frames} frames in {timeout} s")
            time.sleep(0.02)

    def keys(self, *keys):
        self.x("xdotool", "key", "--delay", "150", *keys)

    def shoot(self, window, name):
        # A minute: beside 20 busy processes on two cores a conversion took over 15 seconds.
        dump = subprocess.run(["xwd", "-silent", "-id", window], env=self.env,
                              capture_output=True, timeout=60, check=True).stdout
        png = os.path.join(self.shots, name + ".png")
        return Shot(subprocess.run(["convert", "xwd:-", "-write", png, "ppm:-"], input=dump,
                                   env=self.env, capture_output=True, timeout=60,
                                   check=True).stdout)

    def until(self, window, name, test, timeout=20):
        """Screenshots until `test(shot)` passes, raising Failure otherwise, and returns what
        it returns: a busy machine may take a while to paint what the test waits for."""
        deadline = time.time() + timeout
        while True:
            try:
                return test(self.shoot(window, name))
            except Failure:
                if time.time() > deadline:
                    raise
                time.sleep(0.2)

    def trace(self):
        with open(self.trace_path, "rb") as f:
            return f.read().decode(errors="replace")


def client_top(shot):
    """First row below the menu bar: the right-hand column turns black there."""
    x = shot.width - 3
    for y in range(shot.height - 5):
        if all(shot.at(x, y + k) == BLACK for k in range(5)):
            return y
    raise Failure("no client area below the menu bar")


def check_centred(shot, size, label):
    x0, y0, x1, y1 = shot.bounding_box(QUADRANTS)
    check((x1 - x0 + 1, y1 - y0 + 1) == (size, size),
          f"{label}: picture is {x1 - x0 + 1} x {y1 - y0 + 1}, expected {size} x {size}")
    top = client_top(shot)
    # Truncating divisions: origin = W / 2 - size / 2 in client coordinates.
    expected = (shot.width // 2 - size // 2, top + (shot.height - top) // 2 - size // 2)
    check((x0, y0) == expected, f"{label}: picture at {(x0, y0)}, expected {expected}")
    half = size // 2  # each quadrant keeps its colour after enlargement
    for i, colour in enumerate(QUADRANTS):
        px, py = x0 + half * (i % 2) + half // 2, y0 + half * (i // 2) + half // 2
        check(shot.at(px, py) == colour, f"{label}: quadrant {i} shows {shot.at(px, py)}")
    return x0, y0, top


def last_text_column(shot, y):
    """Rightmost column with white text in the 20-pixel band of the line starting at y."""
    columns = [x for x in range(shot.width) for row in range(y, y + 20) if shot.at(x, row) == WHITE]
    check(columns, "no text on an overlay line")
    return max(columns)


def run(s):
    s.start()
    launched = time.time()
    main = s.find_window("Orvanta")
    check(s.x("xdotool", "getwindowname", main) == "Orvanta", "wrong window title")
    wm_class = s.x("xprop", "-id", main, "WM_CLASS", check_result=False)
    check(not wm_class or "ORVANTA" in wm_class.upper(), f"unexpected class {wm_class}")
    s.alive()
    s.until(main, "1-zoom1", lambda shot: check_centred(shot, 128, "zoom 1"))

    # A bigger window, so that the picture at 400 % fits; then "Fokus" -> "400 %".
    s.x("xdotool", "windowsize", main, "800", "800")
    s.point(main, *MENU_CORNER, 0.4)
    geometry = dict(line.split("=", 1) for line in
                    s.x("xdotool", "getwindowgeometry", "--shell", main).splitlines())
    check((geometry["WIDTH"], geometry["HEIGHT"]) == ("800", "800"),
          "the window did not take its new size")
    window_menu.choose(s, main, 1, 3)  # "Fokus" -> "400 %"
    x0, y0, top = s.until(main, "2-zoom4", lambda shot: check_centred(shot, 512, "zoom 4"))

    # The overlay's four lines start at client (10, 10), 20 pixels apart.
    overlays = []
    for i, (dx, dy) in enumerate(((100, 100), (400, 400))):  # red, then yellow
        s.point(main, x0 + dx, y0 + dy, 0)
        s.settle()
        region = s.shoot(main, f"3-cursor{i}").region(10, top + 10, 260, top + 90)
        check(WHITE in region, "the overlay shows no text")
        check(region.count(BLACK) > len(region) // 2, "the overlay has no black background")
        overlays.append(region)
    check(overlays[0] != overlays[1], "the overlay is the same at two different pixels")

    # "Loop" -> "Loop on this config-file" puts "... looping on ..." before the file name,
    # so the third line's text reaches further to the right.
    s.point(main, *MENU_CORNER, 0.2)
    before = last_text_column(s.shoot(main, "3-loop-off"), top + 50)
    window_menu.choose(s, main, 2, 0)

    def looping(shot):
        after = last_text_column(shot, top + 50)
        check(after > before + 50, f"Loop did not change the third line ({before} -> {after})")

    s.until(main, "3-loop-on", looping)

    # The band left of the picture that truncation maps to column 0: client area 480 x 400
    # at zoom 2 puts the picture at (112, 72). One pixel left of it the overlay reports
    # column 0 with the colour the window shows there, black, not the picture's colour.
    window_menu.choose(s, main, 1, 1)  # "Fokus" -> "200 %"
    s.x("xdotool", "windowsize", main, "480", str(400 + top))
    lines = {}
    for name, (px, py) in (("picture", (112, 200)), ("band", (111, 200)), ("off", (400, 5))):
        s.point(main, px, top + py, 0)
        s.settle()
        shot = s.shoot(main, f"3-inspect-{name}")
        lines[name] = [shot.region(10, top + 10 + 20 * i, 260, top + 30 + 20 * i) for i in (0, 1)]
    check(lines["band"][0] == lines["picture"][0], "the band does not read as column 0, row 64")
    check(lines["picture"][1] != lines["off"][1], "the picture's pixel reads as colour 0")
    check(lines["band"][1] == lines["off"][1], "the band reports the picture's colour")
    s.x("xdotool", "windowsize", main, "800", "800")

    s.x("xdotool", "key", "Escape")  # must not end the program in the main window
    time.sleep(0.3)
    s.alive()
    trace = s.trace()
    check("LoadConfigFromSD End" in trace, "the trace shows no configuration load")
    frames_before = trace.count("R")
    check(frames_before >= 10, f"only {frames_before} frames in the trace")

    s.x("xdotool", "key", "alt+slash")
    about = s.find_window("About")
    time.sleep(0.5)
    s.shoot(about, "4-about")
    check(s.trace().count("R") > frames_before, "frames stopped behind the About box")
    s.point(about, 100, 60, 0.2)
    s.x("xdotool", "key", "Escape")
    s.wait_until_closed("About", "Escape did not close the About box")
    s.alive()
    s.shoot(main, "5-after-about")

    # Alt + '?' opens it too; Return presses its OK button.
    s.point(main, *MENU_CORNER, 0.2)
    s.x("xdotool", "key", "alt+question")
    s.point(s.find_window("About"), 100, 60, 0.3)
    s.x("xdotool", "key", "Return")
    s.wait_until_closed("About", "OK did not close the About box")
    s.alive()

    window_menu.choose(s, main, 0, 0)  # "File" -> "Exit"
    try:
        status = s.app.wait(timeout=30)  # the leak check at exit is slow on a busy machine
    except subprocess.TimeoutExpired:
        raise Failure("File -> Exit did not end the program")
    check(status == 0, f"exit status {status}; standard error: {s.errors()[-3000:]}")
    check(s.errors() == "", f"standard error is not empty: {s.errors()[:300]!r}")
    return time.time() - launched


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    for tool in ("Xvfb", "xdotool", "xwd", "convert"):
        if shutil.which(tool) is None:
            print(f"window_e2e: {tool} is missing; run scripts/install-deps test")
            return 1
    shots = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="orvanta-e2e-shots-")
    os.makedirs(shots, exist_ok=True)
    session = Session(os.path.abspath(sys.argv[1]), shots)
    return report("window_e2e", session, lambda: f" in {run(session):.1f} s")


if __name__ == "__main__":
    import window_e2e  # one module instance, so that the menu driver's Failure is caught here

    sys.exit(window_e2e.main())
