#!/usr/bin/env python3
"""End-to-end test of the Windows window program, under wine on a private Xvfb server,
driven as a user would drive it.

The configuration shows a patterned picture and names a successor. Checked: the picture
pixel for pixel at zoom 1 and, through the menu, at 200 %; the overlay's four lines over
known pixels, outside the picture and in the band left of it, against the same texts drawn
by a probe program in the same font; Loop on and off; the trace, piece by piece, as wine
reports OutputDebugStringA; Alt + '?' opening the About box with the program icon,
Escape closing it, the frames going on behind it; Alt + '/' and OK; File -> Exit ending
with status 0. The folder lies under .../Jürgen/Éclair ✈/ and is given as a Windows path,
as a user types it; wine runs with LC_ALL=C.UTF-8, so that it reads Linux paths as UTF-8.

Usage: win32_e2e.py --prefix WINEPREFIX --shots DIR --probe text_probe.exe
                    --cli orvanta-cli.exe --icon orvanta.ico orvanta.exe
The screenshots stay in DIR for a person to look at.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from window_e2e import Failure, Shot, check, start_xvfb, write_in_pieces

RED, GREEN, BLUE, YELLOW, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255,) * 3
NEXT = "second.txt"
# The fifth overlay text over the lamp and beside the picture, padded as the window pads it.
LINE_READINGS = [f"{'Line: config.txt:2: LED':<64}", f"{'Line: none':<64}"]


def colour_at(x, y):
    """The test picture: four coloured quadrants strewn with white pixels."""
    if (x * 7 + y * 3) % 11 == 0:
        return WHITE
    return [RED, GREEN, BLUE, YELLOW][(2 if y >= 64 else 0) + (1 if x >= 64 else 0)]


def bmp(colour):
    """A 128 x 128 bottom-up 24-bit BMP file with colour(x, y) at each pixel."""
    rows = b"".join(bytes((b, g, r)) for y in range(127, -1, -1) for x in range(128)
                    for r, g, b in [colour(x, y)])
    header = b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54)
    header += struct.pack("<iiiHHIIiiII", 40, 128, 128, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + rows


def overlay(x, y, colour, loop=False):
    """The four lines the window shows for a reading, as the program formats them."""
    this = "config.txt"
    return [f"X: {x:03d}, Y: {y:03d}", f"Color: {colour:05d}",
            f"This config-file: {'... looping on ...' if loop else ''}{this:<20}" + " " * 17,
            f"Next config-file: {this if loop else NEXT:<20}"]


def icon_rows(path, side):
    """The side x side picture of an .ico file of opaque 32-bit bitmaps, as RGB rows."""
    with open(path, "rb") as f:
        data = f.read()
    for i in range(struct.unpack_from("<H", data, 4)[0]):
        width, _, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if width == side:
            bgra = data[offset + 40:offset + 40 + side * side * 4]
            rows = [b"".join(bytes((bgra[j + 2], bgra[j + 1], bgra[j]))
                             for j in range(r * side * 4, (r + 1) * side * 4, 4))
                    for r in range(side)]
            return rows[::-1]  # stored bottom to top
    raise Failure(f"no {side} x {side} picture in {path}")


class Desktop:
    """A private Xvfb server and a wine prefix of the test's own."""

    def __init__(self, prefix, shots):
        self.shots, self.procs = shots, []
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all,+debugstr",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="C.UTF-8")
        self.xvfb, self.env["DISPLAY"] = start_xvfb()

    def start(self, command, cwd, stderr):
        # Output goes to files: wine's server inherits the descriptors and keeps them open.
        proc = subprocess.Popen(["wine"] + command, cwd=cwd, env=self.env,
                                stdout=subprocess.DEVNULL, stderr=stderr)
        self.procs.append(proc)
        return proc

    def x(self, *args):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=20)
        check(result.returncode == 0, f"{args}: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace").strip()

    def window(self, name, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                                   env=self.env, capture_output=True).stdout.split()
            if found:
                return found[0].decode()
            time.sleep(0.1)
        raise Failure(f"no window named {name!r} appeared")

    def gone(self, name, message):
        deadline = time.time() + 5
        while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                             env=self.env, capture_output=True).stdout.strip():
            check(time.time() < deadline, message)
            time.sleep(0.1)

    def geometry(self, window):
        values = dict(line.split("=", 1) for line in
                      self.x("xdotool", "getwindowgeometry", "--shell", window).splitlines())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def keys(self, window, *keys):
        # Wine takes real (XTEST) key events only, sent to the focused window.
        self.x("xdotool", "windowfocus", "--sync", window)
        self.x("xdotool", "key", "--delay", "150", *keys)
        time.sleep(0.6)

    def shoot(self, name):
        # ImageMagick's import, not xwd: wine gives the About box an X visual of its own,
        # which xwd -root shows black.
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, timeout=20, check=True).stdout
        subprocess.run(["convert", "ppm:-", os.path.join(self.shots, name + ".png")], input=ppm,
                       timeout=20, check=True)
        return Shot(ppm)

    def close(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=20)
        self.xvfb.terminate()
        self.xvfb.wait(timeout=10)


def trace_pieces(path):
    """The pieces handed to OutputDebugStringA, as wine's debugstr channel reports them."""
    escapes = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}
    pieces = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            m = re.match(r'[0-9a-f]+:warn:debugstr:OutputDebugStringA "(.*)"$', line.rstrip("\n"))
            if m:
                pieces.append(re.sub(r"\\x([0-9a-f]{2})|\\(.)", lambda e: chr(int(e[1], 16))
                                     if e[1] else escapes.get(e[2], e[2]), m[1]))
    return pieces


def windows(path):
    """The path as a Windows program names it: wine's drive Z: is the Linux root."""
    return "Z:" + path.replace("/", "\\")


def check_picture(shot, expected, zoom, left, top, width, height, label):
    size = 128 * zoom
    ox, oy = width // 2 - size // 2, height // 2 - size // 2  # truncating, both positive
    wrong = sum(shot.at(left + ox + x, top + oy + y) != expected[y // zoom][x // zoom]
                for y in range(size) for x in range(size))
    check(wrong == 0, f"{label}: {wrong} pixels of the picture differ from the renderer's")
    check(shot.at(left + ox - 1, top + oy) == (0, 0, 0) and
          shot.at(left + ox + size, top + oy + size - 1) == (0, 0, 0),
          f"{label}: the picture is not where the window's centre puts it")
    return ox, oy


def design(args, desktop, main, trace_path, out, expected, corner):
    """The design commands: pause and step, the findings, saving the picture, and a saved
    configuration file shown at once. The window is at 200 %, its picture at `corner`."""
    def frames():
        return trace_pieces(trace_path).count("R")

    desktop.keys(main, "ctrl+p")
    paused = frames()
    time.sleep(0.5)
    check(frames() == paused, "frames ran while paused")
    desktop.keys(main, "ctrl+period")
    check(frames() == paused + 1, "Step did not run exactly one frame")
    desktop.keys(main, "ctrl+p")
    check(frames() > paused + 1, "frames did not go on after the pause")

    desktop.keys(main, "ctrl+e")
    desktop.window("Findings in config.txt", timeout=10)  # beside the main window

    # Beside the folder, where the dialog starts: in the user's folder named with a 'ü'.
    saved = os.path.join(out, "saved.png")
    check(os.path.dirname(args.folder) == out, "the card folder is not inside the test's own")
    desktop.keys(main, "ctrl+s")
    desktop.window("Save picture as PNG", timeout=10)
    time.sleep(0.5)
    desktop.x("xdotool", "type", "--delay", "30", "..\\saved.png")
    desktop.x("xdotool", "key", "Return")
    deadline = time.time() + 10
    while not os.path.exists(saved):
        check(time.time() < deadline, "Save picture wrote no file")
        time.sleep(0.2)
    time.sleep(0.5)
    rgb = subprocess.run(["convert", saved, "rgb:-"], capture_output=True, check=True).stdout
    check(rgb == b"".join(bytes(expected[y // 2][x // 2]) for y in range(256) for x in range(256)),
          "the saved picture is not the picture shown at 200 %")

    # A save of the configuration file shows the new picture at once, not after its delay.
    with open(os.path.join(args.folder, "blue.bmp"), "wb") as f:
        f.write(bmp(lambda x, y: BLUE))
    with open(os.path.join(args.folder, "config.txt"), "w") as f:
        f.write(f"image;blue.bmp\nLoadConfig;{NEXT};600\n")
    deadline = time.time() + 3
    while desktop.shoot("6-saved").at(corner[0] + 128, corner[1] + 128) != BLUE:
        check(time.time() < deadline, "the saved configuration file did not show at once")
        time.sleep(0.2)

    # Windows reports every write: a file written in pieces 50 ms apart loads once, whole.
    def loads():
        return "".join(trace_pieces(trace_path)).count("LoadConfigFromSD Start")

    config = os.path.join(args.folder, "config.txt")
    with open(os.path.join(args.folder, "red.bmp"), "wb") as f:
        f.write(bmp(lambda x, y: RED))
    for attempt in range(3):
        if attempt > 0:  # the writer fell behind its schedule: show blue again and retry
            with open(config, "w") as f:
                f.write(f"image;blue.bmp\nLoadConfig;{NEXT};600\n")
        time.sleep(1)
        before = loads()
        on_time = write_in_pieces(config, f"image;red.bmp\nLoadConfig;{NEXT};600\n".encode())
        written = time.time()
        while loads() == before:
            check(time.time() - written < 1, "the file written in pieces was not loaded in a second")
            time.sleep(0.01)
        settled = time.time() - written
        time.sleep(1)
        if on_time:
            break
    check(loads() == before + 1, f"{loads() - before} loads of a file written in pieces")
    check(desktop.shoot("7-pieces").at(corner[0] + 128, corner[1] + 128) == RED,
          "the file written in pieces does not show whole")
    print(f"win32_e2e: last piece to load: {settled * 1000:.0f} ms")


def line_under_cursor(args, desktop, main, corner, probe, reading, window):
    """Design -> "Show the line under the cursor" (Ctrl+L) at 100 %: the fifth text at
    (10, 90) over a lamp and beside the picture, against the probe's `reading`, and gone
    once the item is unchecked. The window is at 200 %, its picture at `corner`."""
    with open(os.path.join(args.folder, "config.txt"), "w") as f:
        f.write(f"image;blue.bmp\nLED;64;64;20;0\nLoadConfig;{NEXT};600\n")
    deadline = time.time() + 3
    while desktop.shoot("7-lamp").at(corner[0] + 128, corner[1] + 128) == BLUE:
        check(time.time() < deadline, "the file with the lamp did not show")
        time.sleep(0.2)
    left, top, width, height = window
    desktop.keys(main, "alt+f", "Right", "Return")  # Fokus -> 100 %
    ox, oy = width // 2 - 64, height // 2 - 64
    px, py = probe[1], probe[2]

    def band(name, cx, cy):
        desktop.x("xdotool", "mousemove", str(left + cx), str(top + cy))
        time.sleep(0.6)
        return desktop.shoot(name).rows(left, top + 90, width, 20)

    check(all(set(row) == {0} for row in band("7-unchecked", ox + 64, oy + 64)),
          "a fifth text before the item is checked")
    desktop.keys(main, "ctrl+l")
    for line, (name, cx, cy) in enumerate((("7-line-lamp", ox + 64, oy + 64),
                                           ("7-line-border", ox - 5, oy + 64))):
        want = probe[0].rows(px, py + 10 + 20 * line + 80 * reading, width, 20)
        check(band(name, cx, cy) == want, f"{name}: the fifth text is not "
                                          f"{LINE_READINGS[line].strip()!r} (compare with 0-probe.png)")
    desktop.keys(main, "ctrl+l")
    check(all(set(row) == {0} for row in band("7-cleared", ox + 64, oy + 64)),
          "unchecking left the fifth text standing")


def run(args, desktop, folder, out):
    """Runs the program on `folder`; everything the test writes goes to `out`, since the
    program reloads files saved into its folder."""
    # The renderer's picture of the same folder is the expected picture.
    expected_png = os.path.join(out, "expected.png")
    with open(os.path.join(out, "cli.txt"), "wb") as err:
        status = desktop.start([args.cli, "render", windows(folder), "--frames", "1", "--png",
                                windows(expected_png)], out, err).wait(timeout=120)
    check(status == 0, "orvanta-cli.exe render failed")
    rgb = subprocess.run(["convert", expected_png, "rgb:-"],
                         capture_output=True, check=True).stdout
    expected = [[tuple(rgb[(y * 128 + x) * 3:(y * 128 + x) * 3 + 3]) for x in range(128)]
                for y in range(128)]
    check(expected[20][10] == RED and expected[0][11] == WHITE, "the renderer lost the picture")

    # The probe draws every overlay the test expects, four lines for each reading.
    readings = [overlay(10, 20, 63488), overlay(11, 0, 65535), overlay(0, 0, 0),
                overlay(0, 20, 0), overlay(10, 20, 63488, loop=True), overlay(10, 20, 63488),
                LINE_READINGS + [" ", " "]]
    with open(os.path.join(out, "probe.txt"), "wb") as err:
        probe = desktop.start([args.probe] + [line for r in readings for line in r], folder, err)
        px, py, _, _ = desktop.geometry(desktop.window("Orvanta text probe"))
        time.sleep(1)
        probe_shot = desktop.shoot("0-probe")
        probe.kill()
        probe.wait()
    desktop.gone("Orvanta text probe", "the probe did not end")

    trace_path = os.path.join(out, "trace.txt")
    trace_file = open(trace_path, "wb")
    app = desktop.start([args.program, windows(folder)], out, trace_file)
    main = desktop.window("Orvanta")
    time.sleep(2)
    check(app.poll() is None, f"orvanta.exe ended early with status {app.poll()}")
    left, win_top, width, win_height = desktop.geometry(main)
    shot = desktop.shoot("1-zoom1")
    # The client area starts below the menu bar, where the right-hand column turns black.
    top = next((y for y in range(win_top, win_top + 60)
                if all(shot.at(left + width - 3, y + k) == (0, 0, 0) for k in range(4))), None)
    check(top is not None, "no client area below the menu bar")
    height = win_top + win_height - top
    check_picture(shot, expected, 1, left, top, width, height, "zoom 1")

    desktop.keys(main, "alt+f", "Right", "Down", "Return")  # Fokus -> 200 %
    ox, oy = check_picture(desktop.shoot("2-zoom2"), expected, 2, left, top, width, height,
                           "zoom 2")

    def read(name, cx, cy, reading):
        """Puts the pointer on client point (cx, cy) and compares the overlay's bands."""
        desktop.x("xdotool", "mousemove", str(left + cx), str(top + cy))
        time.sleep(0.6)
        shot = desktop.shoot(name)
        for line in range(4):
            y = 10 + 20 * line
            got = shot.rows(left, top + y, width, 20)
            want = probe_shot.rows(px, py + y + 80 * reading, width, 20)
            check(got == want, f"{name}: overlay line {line + 1} is not "
                               f"{readings[reading][line]!r} (compare {name}.png, 0-probe.png)")

    read("3-red", ox + 21, oy + 41, 0)  # display pixel (10, 20)
    read("3-white", ox + 23, oy + 1, 1)  # display pixel (11, 0)
    read("3-outside", 5, height - 5, 2)
    # One pixel left of the picture still maps to column 0; the colour is the window's.
    read("3-band", ox - 1, oy + 41, 3)

    desktop.keys(main, "alt+f", "Right", "Right", "Return")  # Loop on
    read("4-loop-on", ox + 21, oy + 41, 4)
    desktop.keys(main, "alt+f", "Right", "Right", "Return")  # Loop off
    read("4-loop-off", ox + 21, oy + 41, 5)

    pieces = trace_pieces(trace_path)
    trace = "".join(pieces)
    check(pieces[:3] == ["R", "", "\n"] and "LoadConfigFromSD Start\n\nLoading image '" in trace
          and "LoadConfigFromSD End\n" in trace, f"unexpected trace: {trace[:300]!r}")
    check(all(p == "\n" or "\n" not in p for p in pieces), "a line end shares a piece")

    desktop.keys(main, "alt+question")
    about = desktop.window("About", timeout=10)
    frames = trace_pieces(trace_path).count("R")
    ax, ay, aw, ah = desktop.geometry(about)
    icon = icon_rows(args.icon, 32)
    deadline = time.time() + 10  # the box may take a moment to paint under wine
    while True:
        shot = desktop.shoot("5-about")
        if any(shot.rows(ax + x, ay + y, 32, 32) == icon for y in range(ah - 31)
               for x in range(aw - 31) if shot.at(ax + x, ay + y) == tuple(icon[0][:3])):
            break
        check(time.time() < deadline, "the About box does not show the program icon")
        time.sleep(0.5)
    deadline = time.time() + 5
    while trace_pieces(trace_path).count("R") < frames + 5:
        check(time.time() < deadline, "frames stopped behind the About box")
        time.sleep(0.2)
    desktop.x("xdotool", "key", "Escape")
    desktop.gone("About", "Escape did not close the About box")

    desktop.keys(main, "alt+slash")
    desktop.window("About", timeout=10)
    desktop.x("xdotool", "key", "Return")
    desktop.gone("About", "OK did not close the About box")
    check(app.poll() is None, "orvanta.exe ended with the About box")

    design(args, desktop, main, trace_path, out, expected, (left + ox, top + oy))
    line_under_cursor(args, desktop, main, (left + ox, top + oy), (probe_shot, px, py), 6,
                      (left, top, width, height))

    desktop.keys(main, "alt+f", "Return")  # File -> Exit
    try:
        status = app.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise Failure("File -> Exit did not end the program")
    check(status == 0, f"exit status {status}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--prefix", "--shots", "--probe", "--cli", "--icon"):
        parser.add_argument(option, required=True)
    parser.add_argument("program")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "import", "convert", "wine", "wineserver"):
        if shutil.which(tool) is None:
            print(f"win32_e2e: {tool} is missing; run scripts/install-deps windows")
            return 1
    for name in ("probe", "cli", "icon", "program"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    os.makedirs(args.shots, exist_ok=True)
    base = tempfile.mkdtemp(prefix="orvanta-win32-e2e-")
    out = os.path.join(base, "Jürgen")
    folder = os.path.join(out, "Éclair ✈")
    os.makedirs(folder)
    with open(os.path.join(folder, "pic.bmp"), "wb") as f:
        f.write(bmp(colour_at))
    args.folder = folder
    with open(os.path.join(folder, "config.txt"), "w") as f:
        f.write(f"image;pic.bmp\nLoadConfig;{NEXT};600\n")
    with open(os.path.join(folder, NEXT), "w") as f:
        f.write("image;pic.bmp\n")
    started = time.time()
    desktop = Desktop(args.prefix, args.shots)
    try:
        run(args, desktop, folder, out)
        print(f"win32_e2e: passed in {time.time() - started:.1f} s; screenshots in {args.shots}")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as failure:
        try:
            desktop.shoot("failure")  # the screen as the failure left it
        except (Failure, subprocess.SubprocessError, OSError):
            pass
        print(f"win32_e2e: FAILED: {failure}; screenshots in {args.shots}")
        return 1
    finally:
        desktop.close()
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
