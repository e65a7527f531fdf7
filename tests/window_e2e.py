#!/usr/bin/env python3
"""End-to-end test of the window program, driven as a user would drive it.

Starts `orvanta` under a private Xvfb server in a temporary folder holding a one-line
configuration with a four-colour picture, then checks the title, the centred picture at
zoom 1, "Fokus" -> "400 %" through the menu (512 x 512), the overlay under two cursor
positions, Loop, the trace, the About box (Alt + '/' closed with Escape, Alt + '?' closed
with OK) and "File" -> "Exit" with exit status 0.

Usage: window_e2e.py PATH/TO/orvanta [SCREENSHOT_FOLDER]
Screenshots are kept in the given folder (default: a new temporary folder, printed at the
end) so that a person can look at them.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

QUADRANTS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]  # TL, TR, BL, BR
WHITE = (255, 255, 255)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def write_picture(path):
    """A 128 x 128 bottom-up 24-bit BMP: red, green, blue and yellow quadrants."""
    rows = []
    for y in range(127, -1, -1):
        row = bytearray()
        for x in range(128):
            r, g, b = QUADRANTS[(2 if y >= 64 else 0) + (1 if x >= 64 else 0)]
            row += bytes((b, g, r))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    header += struct.pack("<iiiHHIIiiII", 40, 128, 128, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + data)


class Shot:
    """A screenshot of one window, read from a binary PPM."""

    def __init__(self, data):
        # Header: "P6", width, height, maximum value, each after blanks or comment lines.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        check(fields[0] == b"P6" and fields[3] == b"255", "screenshot is not an 8-bit PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1 : pos + 1 + self.width * self.height * 3]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i : i + 3])

    def bounding_box(self, colours):
        """Smallest box (x0, y0, x1, y1), inclusive, around pixels of the given colours."""
        wanted = set(colours)
        xs, ys = [], []
        for y in range(self.height):
            for x in range(self.width):
                if self.at(x, y) in wanted:
                    xs.append(x)
                    ys.append(y)
        check(xs, "none of the picture's colours is on screen")
        return min(xs), min(ys), max(xs), max(ys)

    def region(self, x0, y0, x1, y1):
        return [self.at(x, y) for y in range(y0, y1) for x in range(x0, x1)]


class Session:
    def __init__(self, program, shots):
        self.program = program
        self.shots = shots
        self.folder = tempfile.mkdtemp(prefix="orvanta-e2e-")
        self.xvfb = None
        self.app = None
        self.env = dict(os.environ)
        self.trace_path = os.path.join(self.folder, "trace.txt")
        self.started = 0.0

    # -- processes -------------------------------------------------------------------
    def start_display(self):
        read_end, write_end = os.pipe()
        # -displayfd lets the server pick a free display number and report it.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
             "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=None)
        os.close(write_end)
        number = b""
        deadline = time.time() + 10
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        check(number.strip().isdigit(), "Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.strip().decode()
        # In a sanitizer build, fontconfig and the X libraries keep caches until exit that
        # the leak checker would report; leaks of our own code still fail the exit status.
        suppressions = os.path.join(self.folder, "lsan.supp")
        with open(suppressions, "w") as f:
            f.write("leak:libfontconfig.so\nleak:libX11.so\nleak:libXft.so\nleak:libfltk.so\n")
        self.env["LSAN_OPTIONS"] = f"suppressions={suppressions}:print_suppressions=0"

    def start_app(self):
        write_picture(os.path.join(self.folder, "pic.bmp"))
        with open(os.path.join(self.folder, "config.txt"), "w") as f:
            f.write("image;pic.bmp\n")
        self.trace_file = open(self.trace_path, "wb")
        self.app = subprocess.Popen([self.program], cwd=self.folder, env=self.env,
                                    stdout=subprocess.DEVNULL, stderr=self.trace_file)

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
        result = subprocess.run(list(args), env=self.env, capture_output=True, timeout=15)
        if check_result and result.returncode != 0:
            raise Failure(f"{args[0]} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace").strip()

    def alive(self):
        check(self.app.poll() is None, f"orvanta ended early with status {self.app.poll()}")

    # -- observing ---------------------------------------------------------------------
    def find_window(self, name):
        deadline = time.time() + 10
        while time.time() < deadline:
            ids = self.x("xdotool", "search", "--name", f"^{name}$", check_result=False)
            if ids:
                return ids.split()[0]
            time.sleep(0.05)
        raise Failure(f"no window named {name!r} appeared")

    def shoot(self, window, name):
        dump = subprocess.run(["xwd", "-silent", "-id", window], env=self.env,
                              capture_output=True, timeout=15, check=True).stdout
        png = os.path.join(self.shots, name + ".png")
        subprocess.run(["convert", "xwd:-", png], input=dump, timeout=15, check=True)
        ppm = subprocess.run(["convert", "xwd:-", "ppm:-"], input=dump, capture_output=True,
                             timeout=15, check=True).stdout
        return Shot(ppm)

    def trace(self):
        with open(self.trace_path, "rb") as f:
            return f.read().decode(errors="replace")

    def geometry(self, window):
        out = self.x("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["WIDTH"]), int(values["HEIGHT"])


def client_top(shot):
    """First row below the menu bar: the right-hand column turns black there."""
    x = shot.width - 3
    for y in range(shot.height - 5):
        if all(shot.at(x, y + k) == (0, 0, 0) for k in range(5)):
            return y
    raise Failure("no client area below the menu bar")


def check_centred(shot, size, label):
    x0, y0, x1, y1 = shot.bounding_box(QUADRANTS)
    check((x1 - x0 + 1, y1 - y0 + 1) == (size, size),
          f"{label}: picture is {x1 - x0 + 1} x {y1 - y0 + 1}, expected {size} x {size}")
    top = client_top(shot)
    width, height = shot.width, shot.height - top
    # Truncating divisions: origin = W / 2 - size / 2 in client coordinates.
    expected = (width // 2 - size // 2, top + height // 2 - size // 2)
    check((x0, y0) == expected, f"{label}: picture at {(x0, y0)}, expected {expected}")
    # Each quadrant of the picture keeps its colour after enlargement.
    half = size // 2
    for i, colour in enumerate(QUADRANTS):
        px = x0 + (half if i % 2 else 0) + half // 2
        py = y0 + (half if i >= 2 else 0) + half // 2
        check(shot.at(px, py) == colour, f"{label}: quadrant {i} shows {shot.at(px, py)}")
    return x0, y0, top


def overlay_pixels(shot, top):
    # The four lines start at client (10, 10) and are 20 pixels apart.
    return shot.region(10, top + 10, 260, top + 90)


def last_text_column(shot, y):
    """Rightmost column with white text in the 20-pixel band of the line starting at y."""
    columns = [x for x in range(shot.width) for row in range(y, y + 20) if shot.at(x, row) == WHITE]
    check(columns, "no text on an overlay line")
    return max(columns)


def wait_until_closed(session, name, message):
    deadline = time.time() + 5
    while session.x("xdotool", "search", "--onlyvisible", "--name", f"^{name}$",
                    check_result=False):
        check(time.time() < deadline, message)
        time.sleep(0.05)


def run(session):
    session.start_display()
    launched = time.time()
    session.start_app()
    main = session.find_window("Orvanta")
    check(session.x("xdotool", "getwindowname", main) == "Orvanta", "wrong window title")
    wm_class = session.x("xprop", "-id", main, "WM_CLASS", check_result=False)
    if wm_class:
        check("ORVANTA" in wm_class.upper(), f"unexpected class {wm_class}")
    time.sleep(0.5)
    session.alive()

    shot = session.shoot(main, "1-zoom1")
    check_centred(shot, 128, "zoom 1")

    # A bigger window, so that the enlarged picture fits; keys go to the window under the
    # pointer when no window manager runs.
    session.x("xdotool", "windowsize", main, "800", "800")
    session.x("xdotool", "mousemove", "--window", main, "700", "12")
    time.sleep(0.4)
    check(session.geometry(main) == (800, 800), "the window did not take its new size")
    session.x("xdotool", "key", "--delay", "150", "alt+f", "Right", "Down", "Down", "Down", "Down", "Return")
    time.sleep(0.5)
    shot = session.shoot(main, "2-zoom4")
    x0, y0, top = check_centred(shot, 512, "zoom 4")

    overlays = []
    for i, (dx, dy) in enumerate(((100, 100), (400, 400))):  # red, then yellow
        session.x("xdotool", "mousemove", "--window", main, str(x0 + dx), str(y0 + dy))
        time.sleep(0.4)
        shot = session.shoot(main, f"3-cursor{i}")
        region = overlay_pixels(shot, top)
        check(WHITE in region, "the overlay shows no text")
        check(region.count((0, 0, 0)) > len(region) // 2, "the overlay has no black background")
        overlays.append(region)
    check(overlays[0] != overlays[1], "the overlay is the same at two different pixels")

    # "Loop" -> "Loop on this config-file" puts "... looping on ..." before the file name,
    # so the third line's text reaches further to the right.
    session.x("xdotool", "mousemove", "--window", main, "700", "12")
    time.sleep(0.2)
    before = last_text_column(session.shoot(main, "3-loop-off"), top + 50)
    session.x("xdotool", "key", "--delay", "150", "alt+f", "Right", "Right", "Down", "Return")
    time.sleep(0.5)
    after = last_text_column(session.shoot(main, "3-loop-on"), top + 50)
    check(after > before + 50, f"Loop did not change the third line ({before} -> {after})")

    # Escape in the main window must not end the program.
    session.x("xdotool", "key", "Escape")
    time.sleep(0.3)
    session.alive()

    trace = session.trace()
    check("LoadConfigFromSD End" in trace, "the trace shows no configuration load")
    frames_before = trace.count("R")
    check(frames_before >= 10, f"only {frames_before} frames in the trace")

    session.x("xdotool", "key", "alt+slash")
    about = session.find_window("About")
    time.sleep(0.5)
    session.shoot(about, "4-about")
    check(session.trace().count("R") > frames_before, "frames stopped behind the About box")
    session.x("xdotool", "mousemove", "--window", about, "100", "60")
    time.sleep(0.2)
    session.x("xdotool", "key", "Escape")
    wait_until_closed(session, "About", "Escape did not close the About box")
    session.alive()
    session.shoot(main, "5-after-about")

    # Alt + '?' opens it too; Return presses its OK button.
    session.x("xdotool", "mousemove", "--window", main, "700", "12")
    time.sleep(0.2)
    session.x("xdotool", "key", "alt+question")
    about = session.find_window("About")
    session.x("xdotool", "mousemove", "--window", about, "100", "60")
    time.sleep(0.3)
    session.x("xdotool", "key", "Return")
    wait_until_closed(session, "About", "OK did not close the About box")
    session.alive()

    session.x("xdotool", "mousemove", "--window", main, "700", "12")
    time.sleep(0.2)
    session.x("xdotool", "key", "--delay", "150", "alt+f", "Down", "Return")
    try:
        status = session.app.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("File -> Exit did not end the program")
    check(status == 0, f"exit status {status}")
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
    try:
        seconds = run(session)
        print(f"window_e2e: passed in {seconds:.1f} s; screenshots in {shots}")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as failure:
        print(f"window_e2e: FAILED: {failure}; screenshots in {shots}")
        print("trace tail:", session.trace()[-400:] if os.path.exists(session.trace_path) else "")
        return 1
    finally:
        session.cleanup()


if __name__ == "__main__":
    sys.exit(main())
