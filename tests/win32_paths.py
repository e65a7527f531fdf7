#!/usr/bin/env python3
"""orvanta-cli.exe under wine on a card folder whose path no code page holds whole.

The folder lies under .../Jürgen/Éclair ✈/ and shows a picture whose file name holds ü
and ✈, named so in config.txt; the line before names a picture that is not there. Given as
Windows paths (Z:\\...), as a user types them:
- `check`, on the folder and on its config.txt, reports the missing picture and nothing
  about the present one;
- `render` writes its trace, PNG and GIF under such names; the trace is byte for byte the
  Linux build's and the picture shows the accented file's colour;
- `picture` converts a picture with such a name into another, with a preview;
- `lsp` publishes the finding for documents opened as file:///Z:/... and as VS Code's
  file:///z%3A/..., each under the client's own URI string.
Wine runs with LC_ALL=C.UTF-8, so that it reads the Linux path as UTF-8 itself.

Usage: win32_paths.py NATIVE_CLI WINDOWS_CLI_COMMAND...
The Windows command is the emulator's words followed by orvanta-cli.exe.
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import urllib.parse

GREEN = (0, 255, 0)
PICTURE = "Düsenjet ✈.bmp"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def bmp(width, height, colour):
    """A bottom-up 24-bit BMP file in one colour."""
    row = bytes(reversed(colour)) * width + b"\0" * ((-3 * width) % 4)
    data = row * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    header += struct.pack("<iiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + data


def windows(path):
    """The path as a Windows program names it: wine's drive Z: is the Linux root."""
    return "Z:" + path.replace("/", "\\")


def run(command, cwd, stdin=None):
    """Output in files, not pipes: wine's server inherits the descriptors and would hold a
    pipe open for seconds after the program ends."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(command, cwd=cwd, stdin=stdin, stdout=out, stderr=err,
                                timeout=120)
        out.seek(0)
        err.seek(0)
        result.stdout, result.stderr = out.read(), err.read()
    return result


def rgb(path):
    return subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout


def check_and_render(native, cli, card, out):
    for named in (card, os.path.join(card, "config.txt")):  # the folder, and its file alone
        said = run(cli + ["check", windows(named)], out)
        text = said.stdout.decode("utf-8", errors="replace")
        check(said.returncode == 1 and "fehlt.bmp" in text and PICTURE not in text,
              f"check {named}: status {said.returncode}, {text!r} {said.stderr[-300:]!r}")
    trace, png, gif = (os.path.join(out, n) for n in ("Spur ✈.txt", "Bild é.png", "Film ü.gif"))
    made = run(cli + ["render", windows(card), "--frames", "3", "--trace", windows(trace),
                      "--png", windows(png), "--gif", windows(gif)], out)
    check(made.returncode == 0, f"render: status {made.returncode}, {made.stderr[-300:]!r}")
    check(os.path.exists(gif), "render wrote no GIF under its accented name")
    check(rgb(png) == bytes(GREEN) * 128 * 128, "the picture is not the accented file's")
    native_trace = os.path.join(out, "native-trace.txt")
    subprocess.run([native, "render", card, "--frames", "3", "--trace", native_trace],
                   capture_output=True, check=True, timeout=120)
    with open(trace, "rb") as a, open(native_trace, "rb") as b:
        check(a.read() == b.read(), "the trace differs from the Linux build's")


def convert_picture(cli, card, out):
    source, target = os.path.join(card, "Foto é.bmp"), os.path.join(card, "Ausgabe ✈.bmp")
    preview = os.path.join(out, "Vorschau ü.png")
    with open(source, "wb") as f:
        f.write(bmp(200, 100, (255, 0, 0)))
    made = run(cli + ["picture", windows(source), windows(target), "--preview", windows(preview)],
               out)
    check(made.returncode == 0, f"picture: status {made.returncode}, {made.stderr[-300:]!r}")
    with open(target, "rb") as f:
        header = f.read(26)
    check(header[:2] == b"BM" and struct.unpack_from("<ii", header, 18) == (128, 64),
          "picture wrote no 128 x 64 BMP under the accented name")
    check(rgb(preview)[:3] == bytes((255, 0, 0)), "the preview is not the picture")


def frames(data):
    """The messages of a Content-Length framed stream."""
    messages = []
    while data:
        head, _, rest = data.partition(b"\r\n\r\n")
        length = int(head.split(b":")[1])
        messages.append(json.loads(rest[:length]))
        data = rest[length:]
    return messages


def language_server(cli, card, out):
    quoted = urllib.parse.quote(windows(card).replace("\\", "/"))  # ':' becomes %3A
    uris = ["file:///Z:" + quoted[4:] + "/config.txt",  # most clients
            "file:///z%3A" + quoted[4:] + "/second.txt"]  # VS Code
    with open(os.path.join(card, "config.txt"), encoding="utf-8") as f:
        config = f.read()
    documents = [(uris[0], config), (uris[1], "image;fehlt.bmp\n")]
    messages = [{"jsonrpc": "2.0", "id": 1, "method": "initialize",
                 "params": {"processId": None, "rootUri": None, "capabilities": {}}},
                {"jsonrpc": "2.0", "method": "initialized", "params": {}}]
    messages += [{"jsonrpc": "2.0", "method": "textDocument/didOpen",
                  "params": {"textDocument": {"uri": uri, "languageId": "orvanta",
                                              "version": 1, "text": text}}}
                 for uri, text in documents]
    messages += [{"jsonrpc": "2.0", "id": 2, "method": "shutdown"},
                 {"jsonrpc": "2.0", "method": "exit"}]
    requests = os.path.join(out, "requests")
    with open(requests, "wb") as f:
        for message in messages:
            body = json.dumps(message).encode()
            f.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    with open(requests, "rb") as stdin:
        served = run(cli + ["lsp"], out, stdin)
    check(served.returncode == 0, f"lsp: status {served.returncode}, {served.stderr[-300:]!r}")
    published = {}
    for message in frames(served.stdout):
        if message.get("method") == "textDocument/publishDiagnostics":
            published[message["params"]["uri"]] = message["params"]["diagnostics"]
    for uri in uris:
        check(uri in published, f"no findings published under {uri}; got {list(published)}")
        lines = {d["range"]["start"]["line"] for d in published[uri]}
        # The missing picture's line only: the accented one was found in the folder.
        check(lines == {0}, f"{uri}: findings on lines {lines}, not 0 alone: {published[uri]}")


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    native, cli = sys.argv[1], ["env", "LC_ALL=C.UTF-8"] + sys.argv[2:]
    if not os.access(native, os.X_OK):
        print(f"win32_paths: skipped: {native} is not built (cmake --build --preset release)")
        return 77
    base = tempfile.mkdtemp(prefix="orvanta-win32-paths-")
    out = os.path.join(base, "Jürgen")
    card = os.path.join(out, "Éclair ✈")
    os.makedirs(card)
    with open(os.path.join(card, PICTURE), "wb") as f:
        f.write(bmp(128, 128, GREEN))
    with open(os.path.join(card, "config.txt"), "w", encoding="utf-8") as f:
        f.write(f"image;fehlt.bmp\nimage;{PICTURE}\n")
    try:
        check_and_render(native, cli, card, out)
        convert_picture(cli, card, out)
        language_server(cli, card, out)
        print("win32_paths: passed")
        return 0
    except (Failure, subprocess.SubprocessError, OSError, ValueError) as failure:
        print(f"win32_paths: FAILED: {failure}")
        return 1
    finally:
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
