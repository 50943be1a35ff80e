"""Sessions of the WebDriver server on the wire, with raw HTTP against the
sample application under Wine: capabilities matching, one session at a time,
the application's windows (handles, switch, rect, title, close), screenshots,
timeouts, actions with real input (clicks the sample reports, keys typed into
an edit), attaching to a running application, and a target that stops
answering.

Environment: VINTREL_WEBDRIVER_URL, VINTREL_BIN_DIR (see run_suite.py).
"""
import base64
import json
import os
import re
import struct
import subprocess
import threading
import time
import unittest
import zlib

import requests

from test_wire_server import URL, BIN_DIR, W3C_STATUS, W3CAssertions

WINE = "/usr/lib/wine/wine64"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"
FRAME_CLASS = "VintrelSampleFrame"
WM_CLOSE = 0x10
WM_APP = 0x8000
MSG_STALL = WM_APP + 12
MSG_GET_LAST_CLICK = WM_APP + 13
MSG_CLEAR_LAST_CLICK = WM_APP + 14
CLICK_LEFT, CLICK_DOUBLE, CLICK_RIGHT = 1, 2, 3
CLICK_SOURCE_LIST = 1
# The list view's rows, relative to the frame's top-left corner: row k is
# 17 pixels high and starts at y = 62 + 17 k; x = 100 is inside every row.
ROW_X, ROW_TOP, ROW_HEIGHT = 100, 62, 17


def sample_message(window_class, message, wparam=0, lparam=0):
    run = subprocess.run([WINE, os.path.join(BIN_DIR, "sample_message.exe"), window_class, str(message), str(wparam),
                          str(lparam)], capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        raise AssertionError(f"sample_message {window_class} {message}: exit {run.returncode}: {run.stderr}")
    return int(run.stdout.strip())


def last_click():
    click = sample_message(FRAME_CLASS, MSG_GET_LAST_CLICK)
    return (click >> 24) & 0xFF, (click >> 16) & 0xFF, click & 0xFFFF


def top_windows_of_class(window_class):
    """Handles ("0x...") of the visible top-level windows of the class, from the tool."""
    run = subprocess.run([WINE, os.path.join(BIN_DIR, "vintrel.exe"), "--json", "windows", "--class", window_class],
                         capture_output=True, text=True, timeout=60, cwd=BIN_DIR)
    handles = []
    for line in run.stdout.splitlines():
        try:
            entry = json.loads(line)
        except ValueError:
            continue
        if entry.get("class") == window_class and entry.get("id") is None:
            handles.append(entry["hwnd"])
    return handles


def new_session(capabilities, timeout=90):
    return requests.post(URL + "/session", json={"capabilities": capabilities}, timeout=timeout)


def sample_capabilities(arguments="", **extra):
    always = {"platformName": "windows", "appium:app": "VintrelSample.exe", "appium:appArguments": arguments}
    always.update(extra)
    return {"alwaysMatch": always}


class SessionClient(W3CAssertions):
    """Calls on one session; the answers' values, or the raw response."""

    sid = None

    @classmethod
    def call(cls, method, path, body=None, timeout=60):
        return requests.request(method, f"{URL}/session/{cls.sid}{path}", json=body, timeout=timeout)

    def value(self, method, path, body=None):
        r = self.call(method, path, body)
        self.assertEqual(r.status_code, 200, f"{method} {path}: {r.status_code} {r.text[:400]}")
        return r.json()["value"]

    @classmethod
    def end(cls):
        if cls.sid:
            requests.delete(f"{URL}/session/{cls.sid}", timeout=60)
            cls.sid = None


class SampleSession(unittest.TestCase, SessionClient):
    """One session on the sample, started through the second firstMatch entry."""

    @classmethod
    def setUpClass(cls):
        r = new_session({"alwaysMatch": {"timeouts": {"implicit": 250}},
                         "firstMatch": [{"platformName": "mac"},
                                        {"platformName": "Windows", "vintrel:app": "VintrelSample.exe",
                                         "vintrel:appArguments": '--title "Wire Test" --items 20'}]})
        if r.status_code != 200:
            raise AssertionError(f"no session: {r.status_code} {r.text}")
        cls.session = r.json()["value"]
        cls.sid = cls.session["sessionId"]

    @classmethod
    def tearDownClass(cls):
        cls.end()

    def setUp(self):
        self.main = self.session["capabilities"]["vintrel:mainWindow"]
        self.value("POST", "/window", {"handle": self.main})

    def test_new_session_answers_the_matched_capabilities(self):
        self.assertRegex(self.sid, r"^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$")
        caps = self.session["capabilities"]
        self.assertEqual(caps["platformName"], "windows")
        self.assertEqual(caps["vintrel:app"], "VintrelSample.exe")
        self.assertEqual(caps["timeouts"], {"implicit": 250, "pageLoad": 300000, "script": 30000})
        self.assertTrue(caps["setWindowRect"])
        self.assertRegex(caps["vintrel:mainWindow"], r"^0x[0-9A-F]{8,16}$")
        self.assertGreater(caps["vintrel:processId"], 0)

    def test_one_session_at_a_time(self):
        status = requests.get(URL + "/status", timeout=10).json()["value"]
        self.assertFalse(status["ready"])
        r = new_session(sample_capabilities())
        self.assertW3CError(r, error="session not created", message_part="one at a time")

    def test_window_handles_title_and_switching(self):
        self.assertEqual(self.value("GET", "/window"), self.main)
        handles = self.value("GET", "/window/handles")
        self.assertEqual(handles[0], self.main)
        titles = {}
        for handle in handles:
            self.assertIsNone(self.value("POST", "/window", {"handle": handle}))
            self.assertEqual(self.value("GET", "/window"), handle)
            titles[self.value("GET", "/title")] = handle
        self.assertIn("Wire Test", titles)
        self.assertIn("Sample Options", titles)  # the dialog box
        self.assertIn("Sample Items", titles)    # the second top-level window
        self.assertEqual(titles["Wire Test"], self.main)
        for bad in ["0x00000001", "0xZZ", "", self.main + "0"]:
            with self.subTest(handle=bad):
                self.assertW3CError(self.call("POST", "/window", {"handle": bad}), error="no such window")
        for body in [{}, {"handle": 5}, {"handle": None}, {"name": self.main}]:
            with self.subTest(body=body):
                self.assertW3CError(self.call("POST", "/window", body), error="invalid argument")
        # A switch that failed left the current window as it was.
        self.assertEqual(self.value("GET", "/window"), handles[-1])

    def test_window_rect_is_read_and_set(self):
        before = self.value("GET", "/window/rect")
        try:
            moved = self.value("POST", "/window/rect", {"x": 60, "y": 50, "width": 820, "height": 640})
            self.assertEqual(moved, {"x": 60, "y": 50, "width": 820, "height": 640})
            self.assertEqual(self.value("GET", "/window/rect"), moved)
            only_width = self.value("POST", "/window/rect", {"width": 850, "x": None})
            self.assertEqual(only_width, {"x": 60, "y": 50, "width": 850, "height": 640})
            self.assertEqual(self.value("POST", "/window/rect", {}), only_width)
            for body in [{"x": "a"}, {"width": -5}, {"x": 1.5}, {"height": 2 ** 40}, {"y": True}]:
                with self.subTest(body=body):
                    self.assertW3CError(self.call("POST", "/window/rect", body), error="invalid argument")
        finally:
            self.value("POST", "/window/rect", before)
        self.assertEqual(self.value("GET", "/window/rect"), before)

    def test_screenshot_is_a_png_of_the_window(self):
        rect = self.value("GET", "/window/rect")
        png = base64.b64decode(self.value("GET", "/screenshot"), validate=True)
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        width, height, depth, colour = struct.unpack(">IIBB", png[16:26])
        self.assertEqual((width, height), (rect["width"], rect["height"]))
        self.assertEqual((depth, colour), (8, 2))  # 8-bit RGB
        # The pixels: every row decompresses, and the window is no single colour.
        data, pos = b"", 8
        while pos < len(png):
            length, kind = struct.unpack(">I4s", png[pos:pos + 8])
            if kind == b"IDAT":
                data += png[pos + 8:pos + 8 + length]
            pos += 12 + length
        raw = zlib.decompress(data)
        self.assertEqual(len(raw), height * (1 + width * 3))
        self.assertGreater(len(set(raw[1:1 + width * 3 * 40])), 4, "the picture's top rows are a single colour")

    def test_timeouts_are_read_and_set(self):
        self.assertEqual(self.value("GET", "/timeouts"), {"implicit": 250, "pageLoad": 300000, "script": 30000})
        try:
            self.assertIsNone(self.value("POST", "/timeouts", {"implicit": 1000, "script": None}))
            self.assertEqual(self.value("GET", "/timeouts"), {"implicit": 1000, "pageLoad": 300000, "script": None})
            self.assertIsNone(self.value("POST", "/timeouts", {"pageLoad": 7.0}))
            self.assertEqual(self.value("GET", "/timeouts")["pageLoad"], 7)
            for body in [{"implicit": -1}, {"pageLoad": "x"}, {"implicit": None}, {"script": 2 ** 60},
                         {"implicit": 0.5}, {"unknown": 5}]:
                with self.subTest(body=body):
                    self.assertW3CError(self.call("POST", "/timeouts", body), error="invalid argument")
            self.assertEqual(self.value("GET", "/timeouts")["implicit"], 1000)
        finally:
            self.value("POST", "/timeouts", {"implicit": 250, "pageLoad": 300000, "script": 30000})

    def click_row(self, row, button=0, double=False):
        move = {"type": "pointerMove", "x": ROW_X, "y": ROW_TOP + ROW_HEIGHT * row + ROW_HEIGHT // 2,
                "origin": "viewport"}
        press = [{"type": "pointerDown", "button": button}, {"type": "pointerUp", "button": button}]
        actions = [move] + press + (press if double else [])
        return self.value("POST", "/actions", {"actions": [
            {"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": actions}]})

    def test_pointer_actions_click_where_they_are_told(self):
        sample_message(FRAME_CLASS, MSG_CLEAR_LAST_CLICK)
        self.assertIsNone(self.click_row(3))
        self.assertEqual(last_click(), (CLICK_LEFT, CLICK_SOURCE_LIST, 3))
        self.click_row(5, double=True)
        self.assertEqual(last_click(), (CLICK_DOUBLE, CLICK_SOURCE_LIST, 5))
        self.click_row(2, button=2)
        self.assertEqual(last_click(), (CLICK_RIGHT, CLICK_SOURCE_LIST, 2))
        self.value("POST", "/actions", {"actions": [
            {"type": "key", "id": "k", "actions": [{"type": "keyDown", "value": "\ue00c"}, {"type": "keyUp", "value": "\ue00c"}]}]})
        # A move relative to the pointer, with a pause beside it in a tick of its own.
        self.click_row(1)
        self.value("POST", "/actions", {"actions": [
            {"type": "pointer", "id": "mouse", "actions": [
                {"type": "pointerMove", "x": 0, "y": ROW_HEIGHT * 2, "origin": "pointer", "duration": 50},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]},
            {"type": "none", "id": "idle", "actions": [{"type": "pause", "duration": 100}]}]})
        self.assertEqual(last_click(), (CLICK_LEFT, CLICK_SOURCE_LIST, 3))

    def switch_to_title(self, title):
        for handle in self.value("GET", "/window/handles"):
            self.value("POST", "/window", {"handle": handle})
            if self.value("GET", "/title") == title:
                return handle
        self.fail(f"no window titled {title!r}")

    def test_key_actions_type_into_the_focused_edit(self):
        self.switch_to_title("Sample Options")  # the dialog box holds the edit
        r = self.call("POST", "/element", {"using": "accessibility id", "value": "2002"})
        self.assertEqual(r.status_code, 200, r.text)
        edit = r.json()["value"][ELEMENT]
        origin = {ELEMENT: edit}
        keys = [{"type": "keyDown", "value": "\ue010"}, {"type": "keyUp", "value": "\ue010"},
                {"type": "keyDown", "value": "\ue008"}, {"type": "keyDown", "value": "\ue011"},
                {"type": "keyUp", "value": "\ue011"}, {"type": "keyUp", "value": "\ue008"}]
        for c in "Wire 9!":
            keys += [{"type": "keyDown", "value": c}, {"type": "keyUp", "value": c}]
        self.value("POST", "/actions", {"actions": [
            {"type": "pointer", "id": "mouse", "actions": [
                {"type": "pointerMove", "x": 0, "y": 0, "origin": origin},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]},
        ]})
        self.value("POST", "/actions", {"actions": [{"type": "key", "id": "keyboard", "actions": keys}]})
        self.assertEqual(self.value("GET", f"/element/{edit}/text"), "Wire 9!")
        # Held keys go with DELETE actions.
        self.value("POST", "/actions", {"actions": [{"type": "key", "id": "keyboard", "actions": [
            {"type": "keyDown", "value": "\ue008"}]}]})
        self.assertIsNone(self.value("DELETE", "/actions"))
        self.value("POST", "/actions", {"actions": [{"type": "key", "id": "keyboard", "actions": [
            {"type": "keyDown", "value": "a"}, {"type": "keyUp", "value": "a"}]}]})
        self.assertEqual(self.value("GET", f"/element/{edit}/text"), "Wire 9!a", "Shift was still down")

    def test_bad_actions_are_refused_before_any_input(self):
        pointer = lambda *actions: {"actions": [{"type": "pointer", "id": "m", "actions": list(actions)}]}
        cases = [
            {}, {"actions": {}}, {"actions": [1]}, {"actions": [{"type": "joystick", "id": "j", "actions": []}]},
            {"actions": [{"type": "key", "actions": []}]},
            {"actions": [{"type": "key", "id": "k", "actions": [{"type": "keyDown", "value": "ab"}]}]},
            {"actions": [{"type": "key", "id": "k", "actions": [{"type": "keyDown"}]}]},
            {"actions": [{"type": "key", "id": "k", "actions": [{"type": "pointerDown", "button": 0}]}]},
            {"actions": [{"type": "pointer", "id": "m", "parameters": {"pointerType": "laser"}, "actions": []}]},
            pointer({"type": "pointerDown"}), pointer({"type": "pointerDown", "button": -1}),
            pointer({"type": "pointerMove", "y": 3}), pointer({"type": "pointerMove", "x": "1", "y": 3}),
            pointer({"type": "pointerMove", "x": 1, "y": 3, "origin": "elsewhere"}),
            pointer({"type": "pause", "duration": -1}), pointer({"type": "pause", "duration": 1.5}),
            pointer({"type": "pause", "duration": 40000}, {"type": "pause", "duration": 40000}),
        ]
        sample_message(FRAME_CLASS, MSG_CLEAR_LAST_CLICK)
        for body in cases:
            with self.subTest(body=body):
                self.assertW3CError(self.call("POST", "/actions", body), error="invalid argument")
        # A list whose end is bad sends nothing of its beginning.
        move = {"type": "pointerMove", "x": ROW_X, "y": ROW_TOP + ROW_HEIGHT * 4 + 8}
        r = self.call("POST", "/actions", pointer(move, {"type": "pointerDown", "button": 0},
                                                  {"type": "pointerUp", "button": 0}, {"type": "bogus"}))
        self.assertW3CError(r, error="invalid argument")
        self.assertEqual(last_click(), (0, 0, 0))
        self.assertW3CError(self.call("POST", "/actions", pointer({"type": "pointerMove", "x": 100000, "y": 0})),
                            error="move target out of bounds")
        r = self.call("POST", "/actions", pointer({"type": "pointerMove", "x": 0, "y": 0, "origin": {ELEMENT: "nope"}}))
        self.assertEqual(r.status_code, 404, r.text)
        self.assertIn(r.json()["value"]["error"], ("no such element", "stale element reference"))


class StartedAndAttached(unittest.TestCase, SessionClient):
    def tearDown(self):
        self.end()

    def start(self, capabilities):
        r = new_session(capabilities)
        self.assertEqual(r.status_code, 200, r.text)
        type(self).sid = r.json()["value"]["sessionId"]
        return r.json()["value"]["capabilities"]

    def test_ending_a_session_closes_the_program_it_started(self):
        caps = self.start(sample_capabilities('--title "Started" --no-dialog'))
        self.assertIn(caps["vintrel:mainWindow"], top_windows_of_class(FRAME_CLASS))
        self.assertIsNone(self.value("DELETE", ""))
        type(self).sid = None
        self.assertEqual(top_windows_of_class(FRAME_CLASS), [])
        self.assertTrue(requests.get(URL + "/status", timeout=10).json()["value"]["ready"])

    def test_attaching_leaves_the_program_running(self):
        sample = subprocess.Popen([WINE, os.path.join(BIN_DIR, "VintrelSample.exe"), "--title", "Attached",
                                   "--no-dialog"], cwd=BIN_DIR)
        try:
            handles = []
            for _ in range(60):
                handles = top_windows_of_class(FRAME_CLASS)
                if handles:
                    break
                time.sleep(0.5)
            self.assertEqual(len(handles), 1)
            for prefix in ["appium:", "vintrel:"]:
                caps = self.start({"alwaysMatch": {prefix + "appTopLevelWindow": handles[0].lower().replace("0x", "")}})
                self.assertEqual(caps["vintrel:mainWindow"], handles[0])
                self.assertEqual(self.value("GET", "/title"), "Attached")
                self.assertIsNone(self.value("DELETE", ""))
                type(self).sid = None
                self.assertEqual(top_windows_of_class(FRAME_CLASS), handles, "the attached program was closed")
        finally:
            try:
                sample_message(FRAME_CLASS, WM_CLOSE)
            except AssertionError:
                pass
            try:
                sample.wait(20)
            except subprocess.TimeoutExpired:
                sample.kill()

    def test_closing_the_last_window_ends_the_session(self):
        self.start(sample_capabilities("--no-dialog"))
        handles = self.value("GET", "/window/handles")
        titles = {}
        for handle in handles:
            self.value("POST", "/window", {"handle": handle})
            titles[self.value("GET", "/title")] = handle
        # The items window ignores WM_CLOSE (it goes with the frame): it stays, and says so.
        self.value("POST", "/window", {"handle": titles["Sample Items"]})
        self.assertW3CError(self.call("DELETE", "/window"), error="timeout", message_part="did not close")
        self.assertIn(titles["Sample Items"], self.value("GET", "/window/handles"))
        # The accessibility window closes.
        self.value("POST", "/window", {"handle": titles["Vintrel Accessibility"]})
        remaining = self.value("DELETE", "/window")
        self.assertEqual(sorted(remaining), sorted(h for h in handles if h != titles["Vintrel Accessibility"]))
        self.assertW3CError(self.call("GET", "/title"), error="no such window")
        self.assertW3CError(self.call("GET", "/window"), error="no such window")
        # The frame: the program ends, and with its last window the session.
        self.value("POST", "/window", {"handle": handles[0]})
        self.assertNotIn(handles[0], self.value("DELETE", "/window"))
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            r = self.call("GET", "/window/handles")
            if r.status_code != 200 or r.json()["value"] == []:
                break
            time.sleep(0.5)
        # Ended with its last window (the session too), or a moment later.
        self.assertTrue(r.status_code != 200 or r.json()["value"] == [], f"the program did not end: {r.text}")
        if r.status_code != 200:
            self.assertIn(r.json()["value"]["error"], ("invalid session id", "no such window"))
        self.call("DELETE", "")
        type(self).sid = None
        self.assertTrue(requests.get(URL + "/status", timeout=10).json()["value"]["ready"])
        self.assertEqual(top_windows_of_class(FRAME_CLASS), [])


    def test_a_program_that_dies_fails_its_commands_and_the_next_session_works(self):
        caps = self.start(sample_capabilities("--no-dialog"))
        run = subprocess.run([WINE, "taskkill", "/F", "/PID", str(caps["vintrel:processId"])], capture_output=True,
                             text=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        deadline = time.monotonic() + 20
        while self.call("GET", "/window/handles").status_code == 200 and time.monotonic() < deadline:
            time.sleep(0.3)
        for method, path, body in [("GET", "/window/handles", None), ("GET", "/title", None),
                                   ("GET", "/window/rect", None), ("GET", "/screenshot", None),
                                   ("POST", "/window", {"handle": caps["vintrel:mainWindow"]}),
                                   ("POST", "/actions", {"actions": []})]:
            with self.subTest(path=path):
                self.assertW3CError(self.call(method, path, body), error="no such window")
        r = self.call("POST", "/element", {"using": "name", "value": "Item 0001"})
        self.assertIn(r.status_code, (404, 500), r.text)
        self.assertEqual(r.status_code, W3C_STATUS[r.json()["value"]["error"]], r.text)
        self.assertIsNone(self.value("DELETE", ""))
        type(self).sid = None
        self.start(sample_capabilities("--no-dialog"))
        self.assertEqual(self.value("GET", "/title"), "Vintrel Sample \u00c4\u00e9\u00f1")


class HungTarget(unittest.TestCase, SessionClient):
    """The sample's thread sleeps: agent requests end in "timeout" within the
    session's request time, commands that need no answer from it go on, the
    server answers others meanwhile, and the session works again afterwards."""

    @classmethod
    def setUpClass(cls):
        r = new_session(sample_capabilities("--no-dialog", **{"vintrel:requestTimeout": 1000}))
        if r.status_code != 200:
            raise AssertionError(r.text)
        cls.sid = r.json()["value"]["sessionId"]

    @classmethod
    def tearDownClass(cls):
        cls.end()

    def find(self, name):
        return self.call("POST", "/element", {"using": "name", "value": name}, timeout=30)

    def test_a_stalled_target_gives_timeout_and_the_server_goes_on(self):
        self.assertEqual(self.find("Item 0003").status_code, 200)
        stall = subprocess.Popen([WINE, os.path.join(BIN_DIR, "sample_message.exe"), FRAME_CLASS, str(MSG_STALL),
                                  "8000"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(2.0)  # sample_message starts and the frame's thread goes to sleep
            start = time.monotonic()
            r = self.find("Item 0004")
            took = time.monotonic() - start
            self.assertW3CError(r, error="timeout")
            self.assertLess(took, 4.0, "the timeout took longer than the session's request time allows")
            # Meanwhile: status at once, and window commands that need no answer from the target.
            statuses = []
            t = threading.Thread(target=lambda: statuses.append(requests.get(URL + "/status", timeout=10)))
            start = time.monotonic()
            t.start()
            self.assertEqual(self.value("GET", "/title"), "Vintrel Sample \u00c4\u00e9\u00f1")
            self.value("GET", "/window/rect")
            self.value("GET", "/screenshot")
            t.join()
            self.assertEqual(statuses[0].status_code, 200)
            self.assertLess(time.monotonic() - start, 4.0)
        finally:
            stall.wait(30)
        deadline = time.monotonic() + 20
        while True:
            r = self.find("Item 0004")
            if r.status_code == 200 or time.monotonic() > deadline:
                break
            time.sleep(0.5)
        self.assertEqual(r.status_code, 200, f"the session did not recover: {r.text}")


if __name__ == "__main__":
    unittest.main()
