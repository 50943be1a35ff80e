#!/usr/bin/python3
"""The WebDriver server under hostile clients. Starts `vintrel serve` under
64-bit Wine on a free loopback port and the sample as the target of its
sessions, then sends hostile requests from several clients at once: broken
request lines and headers, oversized headers and bodies, truncated and
invalid JSON, wrong JSON types for every field of every command, unknown and
ended sessions, unknown element ids, bad selectors, commands out of order,
refused Host and Origin headers, bursts of connections, connections left
silent or half sent, and slow clients. Every answer is checked against the
W3C error it must be (HTTP status and value.error); the harmless requests
mixed in must succeed. Prints one line:

    webdriver hostile: N requests, M answered as they must be (E with the right W3C error), W wrong,
    C server crashes, H hangs; server +R KiB RSS (a -> b), +F fds, +T threads; target +k kernel
    handles, +g GDI, +u USER, +p private KiB

    webdriver_hostile.py --bin-dir build/x64/bin [--requests 100000] [--seed 1] [--verbose: the requests by kind]

Run in the environment of scripts/env.sh (WINEPREFIX, DISPLAY). The server's
growth is that of the Linux process that runs vintrel.exe under Wine (its
resident memory, open file descriptors and threads from /proc); the target's
is what the sample counts of itself (kernel handles, GDI and USER objects,
private KiB). Both are taken after a warm-up and again at the end, with the
session still open. Exit code 0 when every answer was right and nothing
crashed or hung.
"""
import argparse
import json
import os
import random
import re
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "webdriver"))
import run_suite  # noqa: E402  (starts and stops the server)

WINE = "/usr/lib/wine/wine64"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"
FRAME_CLASS = "VintrelSampleFrame"
MSG_COUNT_RESOURCES = 0x8000 + 16
CLIENT_TIMEOUT_MS = 3000      # the server's --client-timeout for this run
ANSWER_TIMEOUT_S = 30.0       # no answer within this: a hang
W3C_STATUS = {
    "invalid argument": 400, "invalid selector": 400, "invalid session id": 404, "unknown command": 404,
    "unknown method": 405, "no such element": 404, "no such window": 404, "stale element reference": 404,
    "invalid element state": 400, "element not interactable": 400, "session not created": 500, "unknown error": 500, "unsupported operation": 500, "timeout": 500,
}

# The server's routes: method, path with {s} for the session and {e} for an element.
ROUTES = [
    ("DELETE", "/session/{s}"), ("GET", "/session/{s}/timeouts"), ("POST", "/session/{s}/timeouts"),
    ("GET", "/session/{s}/window"), ("POST", "/session/{s}/window"), ("DELETE", "/session/{s}/window"),
    ("GET", "/session/{s}/window/handles"), ("GET", "/session/{s}/window/rect"), ("POST", "/session/{s}/window/rect"),
    ("POST", "/session/{s}/window/maximize"), ("POST", "/session/{s}/window/minimize"),
    ("GET", "/session/{s}/title"), ("GET", "/session/{s}/screenshot"), ("POST", "/session/{s}/actions"),
    ("DELETE", "/session/{s}/actions"), ("GET", "/session/{s}/source"), ("POST", "/session/{s}/element"),
    ("POST", "/session/{s}/elements"), ("GET", "/session/{s}/element/active"),
    ("POST", "/session/{s}/element/{e}/element"), ("POST", "/session/{s}/element/{e}/elements"),
    ("POST", "/session/{s}/element/{e}/click"), ("POST", "/session/{s}/element/{e}/clear"),
    ("POST", "/session/{s}/element/{e}/value"), ("GET", "/session/{s}/element/{e}/text"),
    ("GET", "/session/{s}/element/{e}/rect"), ("GET", "/session/{s}/element/{e}/attribute/Name"),
    ("GET", "/session/{s}/element/{e}/property/Name"), ("GET", "/session/{s}/element/{e}/name"),
    ("GET", "/session/{s}/element/{e}/displayed"), ("GET", "/session/{s}/element/{e}/enabled"),
    ("GET", "/session/{s}/element/{e}/selected"), ("GET", "/session/{s}/element/{e}/screenshot"),
    ("POST", "/session/{s}/execute/sync"),
]
ELEMENT_ROUTES = [r for r in ROUTES if "{e}" in r[1]]
POST_ROUTES = [r for r in ROUTES if r[0] == "POST"]

# Values of every JSON type but the one a field wants.
NOT_STRING = [None, True, 0, -1, 1.5, 2 ** 64, [], ["a"], {}, {"a": 1}]
NOT_INTEGER = [None, True, "1", "", 1.5, -0.5, 1e300, 2 ** 53, 2 ** 64, [], [1], {}, {"a": 1}]
NOT_ARRAY = [None, True, 0, 1.5, "x", "", {}, {"0": 1}]


class Outcome:
    ANSWER, CLOSED, TIMEOUT = "answer", "closed", "timeout"


class Connection:
    """One raw HTTP/1.1 connection: sends bytes, reads one answer at a time."""

    def __init__(self, host, port):
        self.sock = socket.create_connection((host, port), timeout=ANSWER_TIMEOUT_S)
        self.pending = b""

    def send(self, data):
        """False when the server has closed the connection meanwhile (its answer may still be read)."""
        try:
            self.sock.sendall(data)
            return True
        except OSError:
            return False

    def _fill(self):
        chunk = self.sock.recv(262144)
        if not chunk:
            raise EOFError
        self.pending += chunk

    def read_answer(self, timeout=ANSWER_TIMEOUT_S):
        """(Outcome.ANSWER, status, headers, body) or (Outcome.CLOSED/TIMEOUT, None, None, None)."""
        self.sock.settimeout(timeout)
        try:
            while b"\r\n\r\n" not in self.pending:
                self._fill()
            head, _, rest = self.pending.partition(b"\r\n\r\n")
            lines = head.split(b"\r\n")
            status = int(lines[0].split(b" ")[1])
            headers = {}
            for line in lines[1:]:
                name, _, value = line.partition(b":")
                headers[name.strip().lower().decode("latin-1")] = value.strip().decode("latin-1")
            length = int(headers.get("content-length", "0"))
            self.pending = rest
            while len(self.pending) < length:
                self._fill()
            body, self.pending = self.pending[:length], self.pending[length:]
            return Outcome.ANSWER, status, headers, body
        except socket.timeout:
            return Outcome.TIMEOUT, None, None, None
        except (EOFError, OSError, ValueError, IndexError):
            return Outcome.CLOSED, None, None, None

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


class Case:
    """One hostile request and what must come back.

    expect: a W3C error name, "ok" (status 200 with a value), "closed" (no answer, the
    connection closes), or "error-or-closed:<name>" (either is right)."""

    def __init__(self, kind, data, expect, fresh=False, check=None):
        self.kind = kind
        self.data = data
        self.expect = expect
        self.fresh = fresh      # needs a connection of its own (the server closes it)
        self.check = check      # for "ok": a test of the value


def request(method, path, host, body=None, headers=(), raw_body=None):
    payload = raw_body if raw_body is not None else (b"" if body is None else json.dumps(body).encode())
    lines = [f"{method} {path} HTTP/1.1", f"Host: {host}"]
    lines += list(headers)
    if payload or method == "POST":
        lines += ["Content-Type: application/json", f"Content-Length: {len(payload)}"]
    return ("\r\n".join(lines) + "\r\n\r\n").encode() + payload


class Generator:
    """Makes the hostile cases. state holds the live session, its elements and the ended sessions."""

    def __init__(self, host_header, state):
        self.host = host_header
        self.state = state

    def random_id(self, rnd):
        forms = [
            lambda: "%08x-%04x-4%03x-8%03x-%012x" % (rnd.getrandbits(32), rnd.getrandbits(16), rnd.getrandbits(12),
                                                     rnd.getrandbits(12), rnd.getrandbits(48)),
            lambda: "".join(rnd.choice("abcdef0123456789") for _ in range(rnd.randint(1, 64))),
            lambda: "%25" + "%02X" % rnd.randint(1, 255) + "x",
            lambda: "x" * rnd.randint(100, 4000),
            lambda: "..%2F..%2Fstatus",
            lambda: "%00",
            lambda: "%C3%28",
        ]
        return rnd.choice(forms)()

    def path(self, route, sid, eid):
        return route[1].replace("{s}", sid).replace("{e}", eid)

    # ---- the HTTP layer ---------------------------------------------------
    def broken_http(self, rnd):
        h = self.host
        forms = [
            b"GARBAGE\r\n\r\n", b"GET\r\n\r\n", b"GET /status\r\n\r\n", b"GET /status HTTP/9.9\r\n\r\n",
            b"GET /status HTTP/1.x\r\n\r\n", b"\x00\x01\x02\x03\r\n\r\n", b"GET /st atus HTTP/1.1\r\n\r\n",
            b"G(T /status HTTP/1.1\r\n\r\n", b" GET /status HTTP/1.1\r\n\r\n", b"GET /status HTTP/1.1 x\r\n\r\n",
            f"GET /status HTTP/1.1\r\nHost: {h}\r\nNo colon here\r\n\r\n".encode(),
            f"GET /status HTTP/1.1\r\nHost: {h}\r\n: empty name\r\n\r\n".encode(),
            f"GET /status HTTP/1.1\r\nHost: {h}\r\nBad Name: x\r\n\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nContent-Length: -5\r\n\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nContent-Length: abc\r\n\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\n{{}}".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nContent-Length: 99999999999999999999999\r\n\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n{{}}xx\r\n0\r\n\r\n".encode(),
            f"POST /session HTTP/1.1\r\nHost: {h}\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFF\r\n".encode(),
        ]
        if rnd.random() < 0.3:
            junk = bytes(rnd.choice(b"\x00\x01\x7f\x80\xff\r\t\x1b") for _ in range(rnd.randint(1, 40)))
            data = junk + b"\r\n\r\n"
        else:
            data = rnd.choice(forms)
        return Case("broken request line or header", data, "invalid argument", fresh=True)

    def oversized_headers(self, rnd):
        size = rnd.randint(17 * 1024, 48 * 1024)
        if rnd.random() < 0.5:
            extra = f"X-Filler: {'y' * size}\r\n"
        else:
            extra = "".join(f"X-F{i}: {'z' * 90}\r\n" for i in range(size // 100))
        data = f"GET /status HTTP/1.1\r\nHost: {self.host}\r\n{extra}\r\n".encode()
        return Case("oversized headers", data, "invalid argument", fresh=True)

    def oversized_body(self, rnd):
        length = rnd.choice([1024 * 1024 + 1, 2 * 1024 * 1024, 10 ** 9, 10 ** 15])
        route = rnd.choice(POST_ROUTES + [("POST", "/session")])
        path = self.path(route, self.state.sid_or_random(rnd, self), "x")
        data = (f"POST {path} HTTP/1.1\r\nHost: {self.host}\r\nContent-Type: application/json\r\n"
                f"Content-Length: {length}\r\n\r\n").encode() + b'{"a": "' + b"x" * rnd.randint(0, 4000)
        return Case("oversized body", data, "invalid argument", fresh=True)

    def oversized_chunked_body(self, rnd):
        chunk = b"x" * 65536
        body = b"".join(b"%X\r\n" % len(chunk) + chunk + b"\r\n" for _ in range(17)) + b"0\r\n\r\n"
        data = (f"POST /session HTTP/1.1\r\nHost: {self.host}\r\nTransfer-Encoding: chunked\r\n\r\n").encode() + body
        return Case("oversized chunked body", data, "invalid argument", fresh=True)

    def refused(self, rnd):
        port = self.host.split(":")[1]
        forms = [
            ("Host", f"evil.example:{port}"), ("Host", "evil.example"), ("Host", f"127.0.0.1.evil.example:{port}"),
            ("Host", f"127.0.0.1:{int(port) + 1}"), ("Host", ""), ("Host", "[::1"), ("Host", "localhost:99999999"),
            ("Host", f"user@127.0.0.1:{port}"), ("Host", f"127.0.0.1:{port}/x"), ("Host", "0x7f000001"),
            ("Origin", "http://evil.example"), ("Origin", "null"), ("Origin", f"http://127.0.0.1:{port}"),
            ("Origin", ""), ("Origin", "file://"), ("no host", None),
        ]
        name, value = rnd.choice(forms)
        method, path, body = rnd.choice([("GET", "/status", None), ("POST", "/session", {"capabilities": {}}),
                                         ("OPTIONS", "/session", None)])
        payload = b"" if body is None else json.dumps(body).encode()
        lines = [f"{method} {path} HTTP/1.1"]
        if name == "Host":
            lines.append(f"Host: {value}")
        elif name == "Origin":
            lines += [f"Host: {self.host}", f"Origin: {value}"]
        if payload:
            lines += ["Content-Type: text/plain", f"Content-Length: {len(payload)}"]
        data = ("\r\n".join(lines) + "\r\n\r\n").encode() + payload
        return Case("refused Host or Origin", data, "unknown error", fresh=True)

    # ---- routing and bodies -----------------------------------------------
    def unknown_route(self, rnd):
        words = ["", "x", "sessions", "statuss", "element", "window", "..", "%2e%2e", "a" * 300, "%00", "%ff",
                 "session%2f", "STATUS", "Session"]
        if rnd.random() < 0.5:
            path = "/" + "/".join(rnd.choice(words[1:]) for _ in range(rnd.randint(1, 6)))
        else:
            path = f"/session/{self.state.sid_or_random(rnd, self)}/" + rnd.choice(
                ["nothing", "element/x/nothing", "window/nothing", "element", "title/x", "execute/async",
                 "cookie", "frame", "alert/text", "element/x/attribute", "url", "back"])
            if path.endswith("/element"):
                path += "/x/y/z"
        method = rnd.choice(["GET", "POST", "DELETE"])
        body = {} if method == "POST" else None
        return Case("unknown command", request(method, path, self.host, body), "unknown command")

    def wrong_method(self, rnd):
        route = rnd.choice(ROUTES + [("POST", "/session"), ("GET", "/status")])
        taken = {m for m, p in ROUTES + [("POST", "/session"), ("GET", "/status")] if p == route[1]}
        method = rnd.choice([m for m in ["GET", "POST", "DELETE", "PUT", "PATCH", "TRACE", "FOO"] if m not in taken])
        path = self.path(route, self.state.sid_or_random(rnd, self), "x")
        body = {} if method in ("POST", "PUT", "PATCH") else None
        return Case("unknown method", request(method, path, self.host, body), "unknown method")

    def bad_json(self, rnd):
        forms = [b"", b"not json", b"{", b'{"using": "name", "value": ', b"[]", b"42", b'"text"', b"null", b"true",
                 b'{"a": 1}{"b": 2}', b"\xff\xfe{}", b'{"text": "\xc3\x28"}', b'{"a": tru}', b"{'a': 1}",
                 b'{"a": 1,}', b'{"a": NaN}', b'{"a": 1e999999}', b'{"a": "\\ud800"}', b"{" * 65 + b"}" * 65,
                 b"[" * 100000, b'{"a":' * 5000, b"\x00", b'{"a": "b"' + b"\x00" + b"}"]
        data = rnd.choice(forms)
        if rnd.random() < 0.3:
            whole = json.dumps({"using": "xpath", "value": "//Window", "text": "abc" * rnd.randint(1, 50)}).encode()
            data = whole[:rnd.randint(0, len(whole) - 1)]  # truncated
        route = rnd.choice(POST_ROUTES + [("POST", "/session")])
        path = self.path(route, self.state.sid_or_random(rnd, self), self.state.eid_or_random(rnd, self))
        return Case("invalid or truncated JSON", request("POST", path, self.host, raw_body=data), "invalid argument")

    # ---- sessions and elements ---------------------------------------------
    def unknown_session(self, rnd):
        route = rnd.choice(ROUTES)
        sid = rnd.choice(self.state.ended) if self.state.ended and rnd.random() < 0.5 else self.random_id(rnd)
        path = self.path(route, sid, self.state.eid_or_random(rnd, self))
        body = {"using": "name", "value": "x", "text": "x", "handle": "0x1", "actions": [], "script": "x",
                "args": []} if route[0] == "POST" else None
        kind = "ended session" if sid in self.state.ended else "unknown session"
        return Case(kind, request(route[0], path, self.host, body), "invalid session id")

    def unknown_element(self, rnd):
        sid = self.state.sid
        route = rnd.choice(ELEMENT_ROUTES)
        eid = self.random_id(rnd)
        body = {"using": "name", "value": "x", "text": "x"} if route[0] == "POST" else None
        return Case("unknown element id", request(route[0], self.path(route, sid, eid), self.host, body),
                    "no such element")

    def wrong_types(self, rnd):
        """A field of a command with a value of another type (or out of range), or missing."""
        sid, eid = self.state.sid, rnd.choice(self.state.elements)

        def one(field, bad, others):
            body = dict(others)
            if bad is _MISSING:
                body.pop(field, None)
            else:
                body[field] = bad
            return body

        choice = rnd.randrange(7)
        if choice == 0:
            field = rnd.choice(["implicit", "pageLoad", "script"])
            bads = [b for b in NOT_INTEGER if not (field == "script" and b is None)]
            return self._wrong("timeouts", "/session/%s/timeouts" % sid, one(field, rnd.choice(bads), {}))
        if choice == 1:
            return self._wrong("window switch", "/session/%s/window" % sid,
                               one("handle", rnd.choice(NOT_STRING + [_MISSING]), {}))
        if choice == 2:
            field = rnd.choice(["x", "y", "width", "height"])
            bads = [b for b in NOT_INTEGER if b is not None] + [2 ** 31, -(2 ** 31) - 1]
            if field in ("width", "height"):
                bads += [-1, -100]
            return self._wrong("window rect", "/session/%s/window/rect" % sid, one(field, rnd.choice(bads), {}))
        if choice == 3:
            path = rnd.choice(["/session/%s/element", "/session/%s/elements",
                               "/session/%s/element/{e}/element", "/session/%s/element/{e}/elements"])
            path = (path % sid).replace("{e}", eid)
            field = rnd.choice(["using", "value"])
            return self._wrong("find", path,
                               one(field, rnd.choice(NOT_STRING + [_MISSING]), {"using": "name", "value": "x"}))
        if choice == 4:
            return self._wrong("send keys", f"/session/{sid}/element/{eid}/value",
                               one("text", rnd.choice(NOT_STRING + [_MISSING]), {}))
        if choice == 5:
            if rnd.random() < 0.5:
                body = one("script", rnd.choice(NOT_STRING + [_MISSING]), {"args": []})
            else:
                body = one("args", rnd.choice(NOT_ARRAY + [_MISSING]), {"script": "return 1"})
            return self._wrong("execute", f"/session/{sid}/execute/sync", body)
        return self._wrong("actions", f"/session/{sid}/actions", self.bad_actions(rnd))

    def _wrong(self, what, path, body):
        return Case("wrong JSON type: " + what, request("POST", path, self.host, body), "invalid argument")

    def bad_actions(self, rnd):
        """An actions body that is wrong in at least one place (so that no input is sent)."""
        good_key = {"type": "key", "id": "k", "actions": [{"type": "pause", "duration": 0}]}
        good_pointer = {"type": "pointer", "id": "p", "parameters": {"pointerType": "mouse"},
                        "actions": [{"type": "pause", "duration": 0}]}
        bad_items = [
            1, "x", None, [], {"id": "a", "actions": []}, {"type": 1, "id": "a", "actions": []},
            {"type": "key", "actions": []}, {"type": "key", "id": 5, "actions": []},
            {"type": "gamepad", "id": "a", "actions": []}, {"type": "key", "id": "a", "actions": {}},
            {"type": "pointer", "id": "a", "parameters": 3, "actions": []},
            {"type": "pointer", "id": "a", "parameters": {"pointerType": "laser"}, "actions": []},
            {"type": "key", "id": "a", "actions": [7]},
            {"type": "key", "id": "a", "actions": [{"duration": 1}]},
            {"type": "key", "id": "a", "actions": [{"type": "keyDown", "value": "ab"}]},
            {"type": "key", "id": "a", "actions": [{"type": "keyDown", "value": 65}]},
            {"type": "key", "id": "a", "actions": [{"type": "keyDown"}]},
            {"type": "key", "id": "a", "actions": [{"type": "pointerDown", "button": 0}]},
            {"type": "key", "id": "a", "actions": [{"type": "pause", "duration": -1}]},
            {"type": "key", "id": "a", "actions": [{"type": "pause", "duration": "1"}]},
            {"type": "key", "id": "a", "actions": [{"type": "pause", "duration": 1.5}]},
            {"type": "none", "id": "a", "actions": [{"type": "pause", "duration": 60001}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerDown", "button": -1}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerDown", "button": "left"}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerDown"}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerMove", "x": "1", "y": 0}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerMove", "x": 0}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerMove", "x": 0, "y": 0, "origin": "sky"}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "pointerMove", "x": 0, "y": 0, "origin": 5}]},
            {"type": "pointer", "id": "a", "actions": [{"type": "scroll", "x": 0, "y": 0}]},
            {"type": "wheel", "id": "a", "actions": [{"type": "scroll", "x": 0, "y": 0, "deltaX": "a", "deltaY": 0}]},
            {"type": "wheel", "id": "a", "actions": [{"type": "scroll", "x": 0, "y": 0, "origin": "pointer",
                                                      "deltaX": 0, "deltaY": 0}]},
            {"type": "wheel", "id": "a", "actions": [{"type": "keyDown", "value": "a"}]},
        ]
        if rnd.random() < 0.2:
            bad = rnd.choice(NOT_ARRAY + [_MISSING])
            return {} if bad is _MISSING else {"actions": bad}
        sources = [rnd.choice([good_key, good_pointer]) for _ in range(rnd.randint(0, 2))]
        sources.insert(rnd.randint(0, len(sources)), rnd.choice(bad_items))
        return {"actions": sources}

    def wrong_capabilities(self, rnd):
        """New session with capabilities of wrong types (only while no session runs: each is refused
        before any program starts)."""
        field = rnd.choice(["platformName", "acceptInsecureCerts", "pageLoadStrategy", "timeouts", "appium:app",
                            "appium:appArguments", "appium:appWorkingDir", "appium:appTopLevelWindow",
                            "vintrel:requestTimeout", "vintrel:appStartTimeout", "capabilities", "alwaysMatch",
                            "firstMatch", "unknown standard key", "two apps"])
        always = {"platformName": "windows", "appium:app": "VintrelSample.exe"}
        if field == "capabilities":
            body = {"capabilities": rnd.choice([[], "x", 1, None, True])}
        elif field == "alwaysMatch":
            body = {"capabilities": {"alwaysMatch": rnd.choice([[], "x", 1, True])}}
        elif field == "firstMatch":
            body = {"capabilities": {"firstMatch": rnd.choice([{}, [], [1], ["x"], "x", [None]])}}
        elif field == "unknown standard key":
            always["noSuchStandardCapability%d" % rnd.randint(0, 99)] = True
            body = {"capabilities": {"alwaysMatch": always}}
        elif field == "two apps":
            always["vintrel:app"] = "Other.exe"
            body = {"capabilities": {"alwaysMatch": always}}
        else:
            bads = {"platformName": [7, True, [], {}], "acceptInsecureCerts": ["yes", 1, [], {}],
                    "pageLoadStrategy": ["fast", 1, [], {}],
                    "timeouts": [[], "x", 1, {"implicit": -1}, {"implicit": 1.5}, {"script": "x"},
                                 {"pageLoad": 2 ** 64}],
                    "vintrel:requestTimeout": ["soon", -1, 1.5, 10 ** 12, [], {}],
                    "vintrel:appStartTimeout": ["soon", -1, 1.5, 10 ** 12, [], {}],
                    "appium:appTopLevelWindow": [1, [], {}, "not hex", True]}.get(field, [12, True, [], {}, 1.5])
            always[field] = rnd.choice(bads)
            if field == "appium:appTopLevelWindow":
                del always["appium:app"]
            body = {"capabilities": {"alwaysMatch": always}}
        return Case("wrong JSON type: capabilities", request("POST", "/session", self.host, body), "invalid argument")

    def bad_selector(self, rnd):
        sid = self.state.sid
        forms = [
            ("xpath", ""), ("xpath", "//["), ("xpath", "///"), ("xpath", "("), ("xpath", "//a[@b='"),
            ("xpath", "count("), ("xpath", "//Window[position()=]"), ("xpath", "]]"), ("xpath", "//@@x"),
            ("xpath", "//Window[" * 50), ("xpath", "\x00"), ("xpath", "//*[unknownfunction()]"),
            ("css selector", "div > p"), ("css selector", "a b"), ("css selector", "[id="), ("css selector", "*"),
            ("css selector", ":hover"), ("css selector", ""), ("css selector", "[id=\"x\"] [name=\"y\"]"),
            ("css selector", "[style=\"x\"]"), ("css selector", "."), ("css selector", "#"),
            ("link text", "x"), ("partial link text", "x"), ("ID", "x"), ("Name", "x"), ("", "x"),
            ("name ", "x"), ("\u00e9", "x"),
        ]
        using, value = rnd.choice(forms)
        where = rnd.choice(["/session/{s}/element", "/session/{s}/elements", "/session/{s}/element/{e}/element",
                            "/session/{s}/element/{e}/elements"])
        path = where.replace("{s}", sid).replace("{e}", rnd.choice(self.state.elements))
        return Case("bad selector", request("POST", path, self.host, {"using": using, "value": value}),
                    "invalid selector")

    def not_found(self, rnd):
        sid = self.state.sid
        using, value = rnd.choice([("name", "NoSuch %d" % rnd.randint(0, 10 ** 9)),
                                   ("accessibility id", str(rnd.randint(60000, 10 ** 6))),
                                   ("class name", "NoSuchClass%d" % rnd.randint(0, 999)),
                                   ("css selector", '[name="nothing %d"]' % rnd.randint(0, 999))])
        return Case("find that finds nothing",
                    request("POST", f"/session/{sid}/element", self.host, {"using": using, "value": value}),
                    "no such element")

    def out_of_order(self, rnd):
        sid = self.state.sid
        choice = rnd.randrange(5)
        if choice == 0:
            handle = rnd.choice(["0x0", "0x1", "0xDEAD", "zzz", "", "0x" + "F" * 40, "-1", "0x7FFFFFF0"])
            return Case("switch to a window the application has not",
                        request("POST", f"/session/{sid}/window", self.host, {"handle": handle}), "no such window")
        if choice == 1:
            caps = rnd.choice([{}, {"alwaysMatch": {"platformName": "windows", "appium:app": "VintrelSample.exe"}},
                               {"alwaysMatch": []}, {"firstMatch": 7}])
            return Case("new session while one runs",
                        request("POST", "/session", self.host, {"capabilities": caps}), "session not created")
        if choice == 2:
            return Case("script that is no atom",
                        request("POST", f"/session/{sid}/execute/sync", self.host,
                                {"script": rnd.choice(["return 1", "", "while(1){}", "x" * 1000]), "args": []}),
                        "unsupported operation")
        if choice == 3:
            return Case("release of actions never performed",
                        request("DELETE", f"/session/{sid}/actions", self.host), "ok")
        return Case("clear of an element that is no edit",
                    request("POST", f"/session/{sid}/element/{self.state.panel}/clear", self.host, {}),
                    "invalid element state")

    def harmless(self, rnd):
        sid = self.state.sid
        choice = rnd.randrange(5)
        if choice == 0:
            return Case("status", request("GET", "/status", self.host), "ok",
                        check=lambda v: isinstance(v, dict) and v.get("ready") is False)
        if choice == 1:
            return Case("title", request("GET", f"/session/{sid}/title", self.host), "ok",
                        check=lambda v: v == self.state.title)
        if choice == 2:
            return Case("window handles", request("GET", f"/session/{sid}/window/handles", self.host), "ok",
                        check=lambda v: isinstance(v, list) and self.state.main in v)
        if choice == 3:
            return Case("timeouts", request("GET", f"/session/{sid}/timeouts", self.host), "ok",
                        check=lambda v: isinstance(v, dict) and v.get("implicit") == 0)
        return Case("text of an element",
                    request("GET", f"/session/{sid}/element/{self.state.panel}/text", self.host), "ok",
                    check=lambda v: v == "Panel")

    def next(self, rnd):
        table = [
            (self.broken_http, 6), (self.oversized_headers, 2), (self.oversized_body, 3), (self.refused, 5),
            (self.unknown_route, 8), (self.wrong_method, 8), (self.bad_json, 12), (self.unknown_session, 12),
            (self.unknown_element, 10), (self.wrong_types, 20), (self.bad_selector, 6), (self.not_found, 1),
            (self.out_of_order, 3), (self.harmless, 6), (self.wrong_capabilities, 8),
        ]
        if not self.state.sid:
            table = [t for t in table if t[0] not in (self.unknown_element, self.wrong_types, self.bad_selector,
                                                      self.not_found, self.out_of_order, self.harmless)]
        else:
            table = [t for t in table if t[0] != self.wrong_capabilities]
        total = sum(w for _, w in table)
        pick = rnd.uniform(0, total)
        for make, weight in table:
            pick -= weight
            if pick <= 0:
                return make(rnd)
        return table[-1][0](rnd)


class _Missing:
    pass


_MISSING = _Missing()  # a field left out


class State:
    def __init__(self):
        self.sid = None
        self.ended = []
        self.elements = []
        self.panel = None
        self.main = None
        self.title = None

    def sid_or_random(self, rnd, generator):
        return self.sid if self.sid and rnd.random() < 0.7 else generator.random_id(rnd)

    def eid_or_random(self, rnd, generator):
        return rnd.choice(self.elements) if self.elements and rnd.random() < 0.7 else generator.random_id(rnd)


class Tally:
    def __init__(self, verbose):
        self.lock = threading.Lock()
        self.requests = 0
        self.right = 0
        self.right_errors = 0
        self.wrong = 0
        self.hangs = 0
        self.wrong_kinds = {}
        self.kinds = {}
        self.verbose = verbose

    def add(self, case, right, error_answer, detail):
        with self.lock:
            self.requests += 1
            self.kinds[case.kind] = self.kinds.get(case.kind, 0) + 1
            if right:
                self.right += 1
                self.right_errors += 1 if error_answer else 0
            elif detail == "hang":
                self.hangs += 1
            else:
                self.wrong += 1
            if not right:
                key = case.kind
                self.wrong_kinds[key] = self.wrong_kinds.get(key, 0) + 1
                if self.wrong_kinds[key] <= 3:
                    print(f"  WRONG {case.kind}: expected {case.expect}, got {detail}; sent {case.data[:160]!r}",
                          flush=True)


def judge(case, outcome):
    """(right, was a W3C error answer, detail)."""
    kind, status, headers, body = outcome
    if kind == Outcome.TIMEOUT:
        return False, False, "hang"
    expect = case.expect
    if kind == Outcome.CLOSED:
        right = expect == "closed" or expect.startswith("error-or-closed:")
        return right, False, "closed without an answer"
    if expect.startswith("error-or-closed:"):
        expect = expect.split(":", 1)[1]
    try:
        value = json.loads(body).get("value") if body else None
    except ValueError:
        return False, False, f"{status} with a body that is no JSON: {body[:100]!r}"
    if expect == "ok":
        ok = status == 200 and (case.check is None or case.check(value))
        return ok, False, f"{status} {str(value)[:200]}"
    if expect == "closed":
        return False, False, f"an answer {status} where the connection should close"
    error = value.get("error") if isinstance(value, dict) else None
    right = (status == W3C_STATUS.get(expect) and error == expect and isinstance(value.get("message"), str)
             and "stacktrace" in value)
    if right and case.fresh and "close" not in headers.get("connection", "").lower():
        return False, True, f"{status} {error} without Connection: close"
    return right, right, f"{status} {error}: {str(value)[:200] if isinstance(value, dict) else value}"


class Client:
    """One worker: a kept-alive connection for the cases that keep it, fresh ones for the rest."""

    def __init__(self, host, port):
        self.host, self.port = host, port
        self.conn = None

    def run_case(self, case):
        if case.fresh:
            conn = Connection(self.host, self.port)
            try:
                conn.send(case.data)
                return conn.read_answer()
            finally:
                conn.close()
        for attempt in range(2):
            if self.conn is None:
                self.conn = Connection(self.host, self.port)
            sent = self.conn.send(case.data)
            outcome = self.conn.read_answer()
            if outcome[0] == Outcome.ANSWER:
                if "close" in (outcome[2] or {}).get("connection", "").lower():
                    self.conn.close()
                    self.conn = None
                return outcome
            self.conn.close()
            self.conn = None
            # A kept-alive connection the server closed while idle (the client
            # time) is sent again once on a new one, as every HTTP client does.
            if outcome[0] == Outcome.TIMEOUT or (sent and attempt == 1):
                return outcome
        return outcome


def connection_load(host, port, host_header, tally, stop, rnd):
    """The connection-level hostility, beside the workers: silent connections,
    requests sent half and left, half sent and shut, slow clients that dribble
    a request, bursts of many connections at once."""
    def silent():
        conn = Connection(host, port)
        start = time.monotonic()
        if rnd.random() < 0.5:
            conn.send(f"POST /session HTTP/1.1\r\nHost: {host_header}\r\nContent-Length: 100\r\n\r\n{{".encode())
        outcome = conn.read_answer(timeout=CLIENT_TIMEOUT_MS / 1000 + 10)
        waited = time.monotonic() - start
        conn.close()
        case = Case("silent or half-sent connection", b"", "closed")
        if outcome[0] == Outcome.CLOSED and waited < CLIENT_TIMEOUT_MS / 1000 * 0.8:
            outcome = (Outcome.ANSWER, 0, {}, b"")  # cut before its time: wrong
        tally.add(case, *judge(case, outcome))

    def half_shut():
        conn = Connection(host, port)
        whole = request("POST", "/session", host_header, {"capabilities": {"alwaysMatch": {"x": "y" * 100}}})
        conn.send(whole[:rnd.randint(1, len(whole) - 1)])
        conn.sock.shutdown(socket.SHUT_WR)
        case = Case("half sent, then shut", b"", "error-or-closed:invalid argument")
        tally.add(case, *judge(case, conn.read_answer()))
        conn.close()

    def slow():
        conn = Connection(host, port)
        data = request("GET", "/status", host_header)
        for i in range(0, len(data), 4):
            conn.send(data[i:i + 4])
            time.sleep(0.02)
        case = Case("slow client", data, "ok", check=lambda v: isinstance(v, dict) and "ready" in v)
        tally.add(case, *judge(case, conn.read_answer()))
        conn.close()

    def burst():
        results = []

        def one():
            try:
                conn = Connection(host, port)
                for _ in range(5):
                    case = Case("burst of connections", request("GET", "/status", host_header), "ok")
                    conn.send(case.data)
                    results.append((case, conn.read_answer()))
                conn.close()
            except OSError as e:
                results.append((Case("burst of connections", b"", "ok"), (Outcome.CLOSED, None, None, str(e))))
        threads = [threading.Thread(target=one) for _ in range(24)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        for case, outcome in results:
            tally.add(case, *judge(case, outcome))

    pool = []
    while not stop.is_set():
        pool = [t for t in pool if t.is_alive()]
        if len(pool) < 8:
            job = rnd.choice([silent, silent, half_shut, slow, slow])
            t = threading.Thread(target=job, daemon=True)
            t.start()
            pool.append(t)
        if rnd.random() < 0.02:
            burst()
        time.sleep(0.05)
    for t in pool:
        t.join(CLIENT_TIMEOUT_MS / 1000 + 15)


class ServerProcess:
    def __init__(self, bin_dir):
        self.bin_dir = bin_dir
        self.crashes = 0
        self.start()

    def start(self):
        self.process, self.url, self.lines = run_suite.start_server(
            self.bin_dir, ["--client-timeout", str(CLIENT_TIMEOUT_MS)])
        match = re.match(r"http://([^:/]+):(\d+)", self.url)
        self.host, self.port = match.group(1), int(match.group(2))

    def alive(self):
        return self.process.poll() is None

    def figures(self):
        """RSS KiB, open fds, threads of the Linux process running vintrel.exe."""
        pid = self.process.pid
        status = open(f"/proc/{pid}/status").read()
        rss = int(re.search(r"VmRSS:\s+(\d+)", status).group(1))
        threads = int(re.search(r"Threads:\s+(\d+)", status).group(1))
        return rss, len(os.listdir(f"/proc/{pid}/fd")), threads

    def stop(self):
        run_suite.stop_server(self.process)


def call(server, method, path, body=None):
    conn = Connection(server.host, server.port)
    try:
        conn.send(request(method, path, f"{server.host}:{server.port}", body))
        kind, status, _, data = conn.read_answer(timeout=180)
        if kind != Outcome.ANSWER:
            raise RuntimeError(f"{method} {path}: {kind}")
        return status, json.loads(data)["value"]
    finally:
        conn.close()


def sample_counts(bin_dir):
    """Kernel handles, GDI objects, USER objects, private KiB the sample counts of itself."""
    counts = []
    for what in range(4):
        count = -1
        for _ in range(3):
            run = subprocess.run([WINE, os.path.join(bin_dir, "sample_message.exe"), FRAME_CLASS,
                                  str(MSG_COUNT_RESOURCES), str(what)], capture_output=True, text=True, timeout=60)
            if run.returncode == 0:
                count = int(run.stdout.strip())
                break
            print(f"  the sample did not count ({what}): {run.stderr.strip()}", flush=True)
            time.sleep(1.0)
        counts.append(count)
    return counts


def new_session(server):
    status, value = call(server, "POST", "/session", {"capabilities": {"alwaysMatch": {
        "platformName": "windows", "appium:app": "VintrelSample.exe", "appium:appArguments": "--items 20 --no-dialog",
        "vintrel:requestTimeout": 2000, "timeouts": {"implicit": 0}}}})
    if status != 200:
        raise RuntimeError(f"no session: {status} {value}")
    return value


def open_session(server, state):
    value = new_session(server)
    state.sid = value["sessionId"]
    state.main = value["capabilities"]["vintrel:mainWindow"]
    _, state.title = call(server, "GET", f"/session/{state.sid}/title")
    finds = [("accessibility id", "1002"), ("accessibility id", "1004"), ("class name", "SysListView32"),
             ("tag name", "Window")]
    state.elements = []
    for using, what in finds:
        deadline = time.monotonic() + 30  # the sample fills its controls after its window shows
        while True:
            status, found = call(server, "POST", f"/session/{state.sid}/element", {"using": using, "value": what})
            if status == 200 or time.monotonic() > deadline:
                break
            time.sleep(0.5)
        if status != 200:
            raise RuntimeError(f"find {using} {what}: {status} {found}")
        state.elements.append(found[ELEMENT])
    state.panel = state.elements[0]


def run_phase(server, generator, tally, count, workers, seed):
    """Sends count cases from several workers; restarts a crashed server."""
    left = [count]
    lock = threading.Lock()

    def work(index):
        rnd = random.Random(seed * 1000 + index)
        client = Client(server.host, server.port)
        while True:
            with lock:
                if left[0] <= 0:
                    return
                left[0] -= 1
            case = generator.next(rnd)
            try:
                outcome = client.run_case(case)
            except OSError as e:
                outcome = (Outcome.CLOSED, None, None, str(e))
            tally.add(case, *judge(case, outcome))

    threads = [threading.Thread(target=work, args=(i,)) for i in range(workers)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin-dir", required=True)
    parser.add_argument("--requests", type=int, default=100000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--workers", type=int, default=3)
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    bin_dir = os.path.abspath(args.bin_dir)

    server = ServerProcess(bin_dir)
    host_header = f"{server.host}:{server.port}"
    state = State()
    generator = Generator(host_header, state)
    tally = Tally(args.verbose)
    target_crashes = 0
    try:
        # No session yet: the HTTP layer, routing, bodies and unknown sessions.
        run_phase(server, generator, tally, args.requests // 20, args.workers, args.seed)
        # A session that ends, for the ended ids, then the session of the run.
        ended = new_session(server)["sessionId"]
        call(server, "DELETE", f"/session/{ended}")
        state.ended.append(ended)
        open_session(server, state)
        run_phase(server, generator, tally, min(2000, args.requests // 20), args.workers, args.seed + 1)
        server_before, target_before = server.figures(), sample_counts(bin_dir)

        stop = threading.Event()
        side = threading.Thread(target=connection_load,
                                args=(server.host, server.port, host_header, tally, stop, random.Random(args.seed)))
        side.start()
        main_count = args.requests - tally.requests - args.requests // 50
        run_phase(server, generator, tally, max(0, main_count), args.workers, args.seed + 2)
        stop.set()
        side.join()
        if not server.alive():
            server.crashes += 1
        # Let the cut connections go before the figures are taken.
        time.sleep(1.0)
        server_after, target_after = server.figures(), sample_counts(bin_dir)
        status, _ = call(server, "GET", f"/session/{state.sid}/window/handles")
        if status != 200:
            target_crashes += 1  # the application has ended

        # The session ends; its id is refused from now on, and a new session works.
        call(server, "DELETE", f"/session/{state.sid}")
        state.ended.append(state.sid)
        state.sid, state.elements = None, []
        run_phase(server, generator, tally, max(0, args.requests - tally.requests), args.workers, args.seed + 3)
        again = new_session(server)["sessionId"]
        status, _ = call(server, "GET", f"/session/{again}/title")
        call(server, "DELETE", f"/session/{again}")
        next_session_works = status == 200
    finally:
        if not server.alive():
            server.crashes += 1
        server.stop()

    rss = server_after[0] - server_before[0]
    line = (f"webdriver hostile: {tally.requests} requests, {tally.right} answered as they must be "
            f"({tally.right_errors} with the right W3C error), {tally.wrong} wrong, {server.crashes} server crashes, "
            f"{tally.hangs} hangs; server (Linux process of vintrel.exe) {rss:+d} KiB RSS "
            f"({server_before[0]} -> {server_after[0]}), fds {server_after[1] - server_before[1]:+d} "
            f"({server_before[1]} -> {server_after[1]}), threads {server_after[2] - server_before[2]:+d}; "
            f"target (sample, counted by itself) kernel handles {target_after[0] - target_before[0]:+d} "
            f"({target_before[0]} -> {target_after[0]}), GDI {target_after[1] - target_before[1]:+d}, "
            f"USER {target_after[2] - target_before[2]:+d}, private KiB {target_after[3] - target_before[3]:+d} "
            f"({target_before[3]} -> {target_after[3]}); {target_crashes} target crashes; "
            f"next session {'works' if next_session_works else 'FAILED'}")
    print(line, flush=True)
    if args.verbose:
        print("requests by kind: " + ", ".join(f"{k}: {v}" for k, v in sorted(tally.kinds.items())))
    if tally.wrong_kinds:
        print("wrong or unanswered by kind: " + ", ".join(f"{k}: {v}" for k, v in sorted(tally.wrong_kinds.items())))
    ok = tally.wrong == 0 and tally.hangs == 0 and server.crashes == 0 and target_crashes == 0 and next_session_works
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
