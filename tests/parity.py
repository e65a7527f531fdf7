#!/usr/bin/env python3
"""Parity of the Windows and the Linux orvanta-cli on the shipped examples.

Renders the demo and every gallery folder with both programs and checks that the traces
are the same bytes, that the last pictures (PNG) and every frame of the animations (GIF)
have the same pixels and frame delays, and that `check` reports the same text with the
same exit status. ImageMagick decodes the pictures.

Usage: parity.py NATIVE_CLI SOURCE_DIR WINDOWS_CLI_COMMAND...
The Windows command is the emulator's words followed by orvanta-cli.exe. Exits with 77
(skipped) when NATIVE_CLI has not been built.
"""
import os
import subprocess
import sys
import tempfile


def run(command, check=False):
    """Runs a command with its output in files, not pipes: wine's server process inherits
    the descriptors and would hold a pipe open for seconds after the program ends."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(command, stdout=out, stderr=err, timeout=300, check=check)
        out.seek(0)
        err.seek(0)
        result.stdout, result.stderr = out.read(), err.read()
    return result


def decoded(path):
    """Every frame's pixels and every frame's delay, as ImageMagick reads the file."""
    pixels = run(["convert", path, "-coalesce", "rgb:-"], check=True).stdout
    frames = run(["identify", "-format", "%wx%h@%T ", path], check=True).stdout.split()
    return frames, pixels


def compare(folder, seconds, native, windows, out):
    problems = []
    results = {}
    for name, command in (("linux", [native]), ("windows", windows)):
        prefix = os.path.join(out, name)
        render = run(command + ["render", folder, "--seconds", str(seconds), "--png",
                                prefix + ".png", "--gif", prefix + ".gif", "--trace",
                                prefix + ".trace"])
        if render.returncode != 0:
            problems.append(f"{name} render failed: {render.stderr.decode(errors='replace')}")
            return problems
        check = run(command + ["check", folder])
        with open(prefix + ".trace", "rb") as f:
            results[name] = {"trace": f.read(), "png": decoded(prefix + ".png"),
                             "gif": decoded(prefix + ".gif"),
                             "check": (check.returncode, check.stdout)}
    linux, windows_ = results["linux"], results["windows"]
    if not linux["trace"]:
        problems.append("the trace is empty")
    for key in ("trace", "png", "gif", "check"):
        if linux[key] != windows_[key]:
            problems.append(f"the {key} differs")
    if linux["gif"][0] != windows_["gif"][0]:
        problems.append(f"GIF frames: {linux['gif'][0][:5]}... vs {windows_['gif'][0][:5]}...")
    if linux["check"] != windows_["check"]:
        problems.append(f"check: {linux['check']!r} vs {windows_['check']!r}")
    return problems


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    native, source, windows = sys.argv[1], sys.argv[2], sys.argv[3:]
    if not os.access(native, os.X_OK):
        print(f"parity: skipped: {native} is not built (cmake --build --preset release)")
        return 77
    gallery = os.path.join(source, "examples", "gallery")
    folders = [(os.path.join(source, "examples", "demo"), 30)]
    folders += [(os.path.join(gallery, g), 10) for g in sorted(os.listdir(gallery))]
    failed = 0
    with tempfile.TemporaryDirectory(prefix="orvanta-parity-") as out:
        for folder, seconds in folders:
            problems = compare(folder, seconds, native, windows, out)
            label = os.path.relpath(folder, source)
            print(f"parity: {label}: {'; '.join(problems) if problems else 'same'}")
            failed += bool(problems)
    print(f"{len(folders) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
