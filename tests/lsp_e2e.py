#!/usr/bin/env python3
"""The language server driven over pipes by a scripted client, as an editor drives it.

A whole session on a card folder with planted mistakes: initialize, open, diagnostics
(with UTF-16 columns behind non-ASCII text), an incremental change, hover, completion
with and without snippets, colours and their presentation, outline, definition, a quick
fix, a picture saved by another program, shutdown and exit with status 0. Then
malformed traffic: a request before initialize, a Content-Length too short, invalid
JSON, an unknown method, an unknown notification and a header over 64 MiB, each answered
as the protocol asks while the server goes on.

Usage: lsp_e2e.py PATH/TO/orvanta-cli [EMULATOR ...]
"""
import json
import os
import pathlib
import queue
import struct
import subprocess
import sys
import tempfile
import threading

TIMEOUT = 20  # seconds for any one answer; sanitizer builds start slowly


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def write_picture(path, width=4, height=4):
    """A small bottom-up 24-bit BMP in one grey."""
    row = bytes((128, 128, 128)) * width + b"\0" * ((-3 * width) % 4)
    data = row * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    header += struct.pack("<iiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    path.write_bytes(header + data)


def frame(message):
    body = message if isinstance(message, bytes) else json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def utf16(text):
    return len(text.encode("utf-16-le")) // 2


class Client:
    """One server process; messages from it are read by a thread into a queue."""

    def __init__(self, command):
        self.process = subprocess.Popen(command + ["lsp"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE)
        self.inbox = queue.Queue()
        self.next_id = 100
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        out = self.process.stdout
        while True:
            length = None
            while True:
                line = out.readline()
                if not line:
                    self.inbox.put(None)
                    return
                if line in (b"\r\n", b"\n"):
                    break
                name, _, value = line.decode().partition(":")
                if name.lower() == "content-length":
                    length = int(value)
            self.inbox.put(json.loads(out.read(length)))

    def send_raw(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def notify(self, method, params):
        self.send_raw(frame({"jsonrpc": "2.0", "method": method, "params": params}))

    def receive(self, wanted, what):
        """The first message for which `wanted` holds; the others are dropped."""
        while True:
            try:
                message = self.inbox.get(timeout=TIMEOUT)
            except queue.Empty:
                raise Failure(f"no answer: {what}")
            check(message is not None, f"the server closed its output waiting for {what}")
            if wanted(message):
                return message

    def request(self, method, params=None, raw_id=None):
        self.next_id += 1
        ident = self.next_id if raw_id is None else raw_id
        message = {"jsonrpc": "2.0", "id": ident, "method": method}
        if params is not None:
            message["params"] = params
        self.send_raw(frame(message))
        return self.receive(lambda m: m.get("id") == ident and "method" not in m, method)

    def result(self, method, params=None):
        answer = self.request(method, params)
        check("result" in answer, f"{method} failed: {answer}")
        return answer["result"]

    def diagnostics(self, uri, accept=lambda d: True, what="diagnostics"):
        message = self.receive(
            lambda m: m.get("method") == "textDocument/publishDiagnostics" and
            m["params"]["uri"] == uri and accept(m["params"]), what)
        return message["params"]

    def finish(self):
        check(self.result("shutdown") is None, "shutdown answers null")
        self.notify("exit", None)
        status = self.process.wait(timeout=TIMEOUT)
        check(status == 0, f"exit after shutdown ends with status {status}")


def initialize(client, snippets):
    capabilities = {"textDocument": {"completion": {"completionItem": {
        "snippetSupport": snippets}}, "documentSymbol": {"hierarchicalDocumentSymbolSupport": True}}}
    return client.result("initialize", {"processId": None, "rootUri": None,
                                        "capabilities": capabilities})


def by_code(params):
    return {d["code"]: d for d in params["diagnostics"]}


def at(line, character):
    return {"line": line, "character": character}


# The astral character counts two UTF-16 units and four bytes, the accent one unit and two.
TEXT_LINE = "ToggleText;0;0;é😀;1;1"
CONFIG = "\n".join([
    "LED;9;9;9;0",            # 0
    "SetColor;63488",         # 1: a colour, red
    "tacho;1;2;30;30;0",      # 2: unknown keyword, fixed to "Tacho"
    "image;pic.bmp",          # 3: a picture that exists
    TEXT_LINE + ";x",         # 4: an extra field after non-ASCII text
    "LoadConfig;nxt.txt;5",   # 5: a successor that does not exist, fixed to "next.txt"
    "image;later.bmp",        # 6: a picture saved during the session
    "",
])


def whole_session(command, folder):
    write_picture(folder / "pic.bmp")
    (folder / "next.txt").write_text("LED;1;1;9;0\n")
    uri = (folder / "config.txt").as_uri()
    client = Client(command)
    caps = initialize(client, snippets=True)["capabilities"]
    for capability in ("hoverProvider", "completionProvider", "colorProvider",
                       "documentSymbolProvider", "definitionProvider", "codeActionProvider"):
        check(capability in caps, f"capability {capability} advertised")
    check(caps["textDocumentSync"]["change"] == 2, "incremental sync advertised")
    client.notify("initialized", {})

    client.notify("textDocument/didOpen", {"textDocument": {
        "uri": uri, "languageId": "orvanta", "version": 1, "text": CONFIG}})
    found = by_code(client.diagnostics(uri, what="diagnostics on open"))
    check(found.get("unknown-keyword", {}).get("range") == {"start": at(2, 0), "end": at(2, 5)},
          f"unknown keyword on line 3, columns 0-5: {found}")
    check(found["unknown-keyword"]["severity"] == 1, "the unknown keyword is an error")
    extra = utf16(TEXT_LINE)
    check(found.get("extra-fields", {}).get("range") == {"start": at(4, extra),
                                                         "end": at(4, extra + 2)},
          f"the extra field counted in UTF-16 units from {extra}: {found.get('extra-fields')}")
    check("successor-not-found" in found and "picture-not-found" in found, f"files: {found}")

    # One keyword mended by a ranged change; the rest stays as it was.
    client.notify("textDocument/didChange", {
        "textDocument": {"uri": uri, "version": 2},
        "contentChanges": [{"range": {"start": at(2, 0), "end": at(2, 1)}, "text": "T"}]})
    changed = client.diagnostics(uri, lambda p: p.get("version") == 2, "diagnostics on change")
    check("unknown-keyword" not in by_code(changed), f"the mended keyword is clean: {changed}")
    check("extra-fields" in by_code(changed), "the other findings remain")

    doc = {"uri": uri}
    hover = client.result("textDocument/hover", {"textDocument": doc, "position": at(0, 1)})
    check(hover and "**LED**" in hover["contents"]["value"], f"hover on LED: {hover}")
    check(hover["range"]["start"] == at(0, 0), f"the hover covers the keyword: {hover}")

    completion = client.result("textDocument/completion",
                               {"textDocument": doc, "position": at(7, 0)})
    tacho = [i for i in completion["items"] if i["label"] == "Tacho"]
    check(tacho and tacho[0]["insertTextFormat"] == 2 and "${1:" in tacho[0]["textEdit"]["newText"],
          f"a snippet for Tacho: {tacho}")

    colours = client.result("textDocument/documentColor", {"textDocument": doc})
    red = [c for c in colours if c["range"]["start"] == at(1, 9)]
    check(red and red[0]["color"]["red"] == 1 and red[0]["color"]["green"] == 0,
          f"SetColor's field shows red: {colours}")
    span = {"start": at(1, 9), "end": at(1, 14)}
    shown = client.result("textDocument/colorPresentation", {
        "textDocument": doc, "range": span,
        "color": {"red": 0, "green": 0, "blue": 1, "alpha": 1}})
    check(shown[0]["label"] == "31" and shown[0]["textEdit"] == {"range": span, "newText": "31"},
          f"pure blue is 31: {shown}")

    symbols = client.result("textDocument/documentSymbol", {"textDocument": doc})
    check([s["name"] for s in symbols][:3] == ["LED", "SetColor", "Tacho"], f"outline: {symbols}")

    target = client.result("textDocument/definition", {"textDocument": doc, "position": at(3, 8)})
    check(target and target["uri"] == (folder / "pic.bmp").as_uri(), f"definition: {target}")

    actions = client.result("textDocument/codeAction", {
        "textDocument": doc, "range": {"start": at(5, 12), "end": at(5, 12)},
        "context": {"diagnostics": []}})
    edits = [e for a in actions if a["kind"] == "quickfix" for e in a["edit"]["changes"][uri]]
    check({"range": {"start": at(5, 11), "end": at(5, 18)}, "newText": "next.txt"} in edits,
          f"a quick fix names next.txt: {actions}")

    # Another program saves the missing picture; the client says nothing about it.
    write_picture(folder / "later.bmp")
    client.diagnostics(uri, lambda p: not any("later.bmp" in d["message"] for d in p["diagnostics"]),
                       "diagnostics after a picture was saved")
    client.finish()


def plain_completion(command, folder):
    uri = (folder / "plain.txt").as_uri()
    client = Client(command)
    initialize(client, snippets=False)
    client.notify("textDocument/didOpen", {"textDocument": {
        "uri": uri, "languageId": "orvanta", "version": 1, "text": "Ta"}})
    items = client.result("textDocument/completion",
                          {"textDocument": {"uri": uri}, "position": at(0, 2)})["items"]
    check(items and all(i["insertTextFormat"] == 1 and "${" not in i["textEdit"]["newText"]
                        for i in items), f"plain text without snippet support: {items[:2]}")
    client.finish()


def malformed_traffic(command):
    client = Client(command)
    early = client.request("textDocument/hover", {})
    check(early.get("error", {}).get("code") == -32002, f"a request before initialize: {early}")
    initialize(client, snippets=False)

    def parse_error(what):
        error = client.receive(lambda m: "error" in m, what)
        check(error["error"]["code"] == -32700 and error["id"] is None, f"{what}: {error}")

    client.send_raw(b"Content-Length: 5\r\n\r\n" + json.dumps(
        {"jsonrpc": "2.0", "id": 7, "method": "shutdown"}).encode())
    parse_error("a Content-Length too short")
    client.send_raw(frame(b'{"jsonrpc": "2.0", "id": 8, "method": '))
    parse_error("invalid JSON")
    client.send_raw(b"Content-Type: text/plain\r\n\r\n")
    parse_error("a header without Content-Length")
    # Reading picks up at the next Content-Length line, here the next message's.
    client.send_raw(b"Content-Length: 99999999999\r\n\r\n" + b"x" * 5000 + b"\r\n")
    parse_error("a header over 64 MiB")
    unknown = client.request("orvanta/noSuchThing", {})
    check(unknown.get("error", {}).get("code") == -32601, f"an unknown method: {unknown}")
    client.notify("orvanta/noSuchNotice", {})
    # The next message is the answer to the next request: the notification had none.
    client.send_raw(frame({"jsonrpc": "2.0", "id": "last", "method": "shutdown"}))
    last = client.receive(lambda m: True, "shutdown after an unknown notification")
    check(last.get("id") == "last" and last.get("result", 0) is None, f"shutdown: {last}")
    client.notify("exit", None)
    status = client.process.wait(timeout=TIMEOUT)
    check(status == 0, f"exit with status {status}")


def main():
    command = sys.argv[2:] + [sys.argv[1]]
    failures = 0
    for name, run in [("whole session", whole_session), ("plain completion", plain_completion),
                      ("malformed traffic", lambda c, f: malformed_traffic(c))]:
        with tempfile.TemporaryDirectory() as folder:
            try:
                run(command, pathlib.Path(folder))
                print(f"PASS {name}")
            except Failure as failure:
                failures += 1
                print(f"FAIL {name}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
