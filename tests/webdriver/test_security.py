"""Who may use the WebDriver server and how long anyone can hold it, with raw
requests: the size limits at their edges, slow and never-reading clients
while others are served, a target that hangs or dies in the middle of a
command, cross-site and DNS-rebinding requests that must not start a program,
headers given twice, and where the server listens.

Environment: VINTREL_WEBDRIVER_URL, VINTREL_BIN_DIR (see run_suite.py).
"""
import json
import os
import signal
import socket
import subprocess
import threading
import time
import unittest

import requests

import run_suite
from test_wire_server import URL, BIN_DIR, W3CAssertions, host_port, raw_exchange
from test_wire_session import (ELEMENT, FRAME_CLASS, MSG_STALL, WINE, new_session, sample_capabilities, top_windows_of_class)

MAX_BODY = 1024 * 1024
MAX_HEADERS = 16 * 1024


def post_stall(milliseconds):
    """Posts the sample's frame the message that puts its thread to sleep."""
    run = subprocess.run([WINE, os.path.join(BIN_DIR, "sample_message.exe"), "--post", FRAME_CLASS, str(MSG_STALL),
                          str(milliseconds)], capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        raise AssertionError(f"the stall could not be posted: {run.stderr}")


def kill_sample(windows_pid):
    """Kills the sample at once: the Linux process of VintrelSample.exe in this
    Wine prefix (taskkill through Wine when the prefix is not known)."""
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        subprocess.run([WINE, "taskkill", "/F", "/PID", str(windows_pid)], capture_output=True, timeout=60)
        return
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                command = f.read()
            with open(f"/proc/{entry}/environ", "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        if b"VintrelSample.exe" in command and f"WINEPREFIX={prefix}".encode() in environment:
            os.kill(int(entry), signal.SIGKILL)


def timed(call):
    start = time.monotonic()
    result = call()
    return result, time.monotonic() - start


class Limits(unittest.TestCase, W3CAssertions):
    """The limits hold at their edges: just within passes on to the command, just beyond is refused."""

    def raw_post(self, body, path="/session"):
        host, port = host_port(URL)
        head = (f"POST {path} HTTP/1.1\r\nHost: {host}:{port}\r\nContent-Type: application/json\r\n"
                f"Content-Length: {len(body)}\r\n\r\n").encode()
        return raw_exchange(URL, head + body, read_timeout=30)

    def test_a_body_of_exactly_the_limit_is_read_and_one_byte_more_is_not(self):
        # A JSON object padded with spaces to the limit: read, parsed, judged by the command.
        inner = b'{"capabilities": {"alwaysMatch": {"platformName": "mac"}}}'
        status, body, _ = self.raw_post(inner + b" " * (MAX_BODY - len(inner)))
        self.assertW3CError(status, body, error="session not created")
        status, body, _ = self.raw_post(inner + b" " * (MAX_BODY + 1 - len(inner)))
        self.assertW3CError(status, body, error="invalid argument", message_part="body exceeds")

    def test_headers_just_within_the_limit_pass(self):
        host, port = host_port(URL)
        start = f"GET /status HTTP/1.1\r\nHost: {host}:{port}\r\nX-Filler: ".encode()
        within = start + b"y" * (MAX_HEADERS - len(start) - 200) + b"\r\n\r\n"
        status, body, _ = raw_exchange(URL, within)
        self.assertEqual(status, 200, body)
        beyond = start + b"y" * (MAX_HEADERS + 10) + b"\r\n\r\n"
        status, body, _ = raw_exchange(URL, beyond)
        self.assertW3CError(status, body, error="invalid argument", message_part="headers exceed")

    def test_a_chunked_body_beyond_the_limit_is_refused(self):
        host, port = host_port(URL)
        chunk = b"x" * 65536
        body = b"".join(b"%X\r\n" % len(chunk) + chunk + b"\r\n" for _ in range(17)) + b"0\r\n\r\n"
        status, answer, _ = raw_exchange(
            URL, f"POST /session HTTP/1.1\r\nHost: {host}:{port}\r\nTransfer-Encoding: chunked\r\n\r\n".encode() + body)
        self.assertW3CError(status, answer, error="invalid argument", message_part="body exceeds")


class SlowClients(unittest.TestCase, W3CAssertions):
    """Clients that dawdle hold their own connection, never the server."""

    def test_a_client_that_dribbles_its_request_is_served_and_others_meanwhile(self):
        host, port = host_port(URL)
        request = f"GET /status HTTP/1.1\r\nHost: {host}:{port}\r\nConnection: close\r\n\r\n".encode()
        answers = []

        def dribble():
            with socket.create_connection((host, port), timeout=30) as s:
                for i in range(len(request)):
                    s.sendall(request[i:i + 1])
                    time.sleep(0.03)
                answers.append(s.recv(65536))

        slow = threading.Thread(target=dribble)
        slow.start()
        try:
            time.sleep(0.3)
            for _ in range(10):
                r, took = timed(lambda: requests.get(URL + "/status", timeout=10))
                self.assertEqual(r.status_code, 200)
                self.assertLess(took, 1.0, "a request waited behind a client that dribbles its own")
                self.assertTrue(slow.is_alive(), "the slow client finished before the test could overlap it")
        finally:
            slow.join(60)
        self.assertTrue(answers and answers[0].startswith(b"HTTP/1.1 200"), answers)

    def test_a_client_that_never_reads_its_answer_holds_nothing(self):
        r = new_session(sample_capabilities("--no-dialog --items 20"))
        self.assertEqual(r.status_code, 200, r.text)
        sid = r.json()["value"]["sessionId"]
        host, port = host_port(URL)
        greedy = []
        try:
            # Screenshots of the whole window, asked for again and again, and never read.
            for _ in range(4):
                s = socket.create_connection((host, port), timeout=10)
                s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
                s.sendall((f"GET /session/{sid}/screenshot HTTP/1.1\r\nHost: {host}:{port}\r\n\r\n" * 20).encode())
                greedy.append(s)
            time.sleep(1.0)
            for _ in range(5):
                r, took = timed(lambda: requests.get(f"{URL}/session/{sid}/title", timeout=30))
                self.assertEqual(r.status_code, 200, r.text)
                self.assertLess(took, 5.0, "the session's commands waited behind answers nobody reads")
        finally:
            for s in greedy:
                s.close()
            requests.delete(f"{URL}/session/{sid}", timeout=60)


class TargetThatFails(unittest.TestCase, W3CAssertions):
    """The application hangs or dies while a command waits for it: the command
    ends with its W3C error within the session's request time, and the next
    session works."""

    REQUEST_TIMEOUT_MS = 3000

    def start(self):
        r = new_session(sample_capabilities("--no-dialog --items 20", **{
            "vintrel:requestTimeout": self.REQUEST_TIMEOUT_MS, "timeouts": {"implicit": 0}}))
        self.assertEqual(r.status_code, 200, r.text)
        value = r.json()["value"]
        return value["sessionId"], value["capabilities"]["vintrel:processId"]

    def find(self, sid, what="1004"):
        return requests.post(f"{URL}/session/{sid}/element", json={"using": "accessibility id", "value": what},
                             timeout=60)

    def next_session_works(self):
        sid, _ = self.start()
        try:
            deadline = time.monotonic() + 20
            while True:
                r = self.find(sid)
                if r.status_code == 200 or time.monotonic() > deadline:
                    break
                time.sleep(0.5)
            self.assertEqual(r.status_code, 200, f"the next session does not work: {r.text}")
        finally:
            self.assertEqual(requests.delete(f"{URL}/session/{sid}", timeout=60).status_code, 200)

    def test_a_target_that_dies_during_a_command(self):
        for method, path, body in [("GET", "/source", None),
                                   ("POST", "/element", {"using": "xpath", "value": "//Window[@AutomationId='1004']"}),
                                   ("POST", "/element", {"using": "accessibility id", "value": "1004"})]:
            with self.subTest(command=f"{method} {path} {body}"):
                sid, pid = self.start()
                try:
                    self.assertEqual(self.find(sid).status_code, 200)
                    post_stall(20000)
                    time.sleep(1.0)
                    answers = []
                    command = threading.Thread(target=lambda: answers.append(timed(
                        lambda: requests.request(method, f"{URL}/session/{sid}{path}", json=body, timeout=60))))
                    command.start()
                    time.sleep(0.3)  # the command waits for the sleeping application
                    kill_sample(pid)
                    command.join(60)
                    self.assertTrue(answers, "the command never came back")
                    r, took = answers[0]
                    # Not a page of blanks from the windows that went: the application's end.
                    self.assertW3CError(r, error="no such window")
                    self.assertLess(took, self.REQUEST_TIMEOUT_MS / 1000 + 3, "the command outlived the session's limit")
                    self.assertW3CError(requests.get(f"{URL}/session/{sid}/window/handles", timeout=30),
                                        error="no such window")
                finally:
                    r, took = timed(lambda: requests.delete(f"{URL}/session/{sid}", timeout=60))
                self.assertEqual(r.status_code, 200, r.text)
                self.assertLess(took, 5.0)
        self.next_session_works()

    def test_a_session_whose_target_hangs_ends_in_time(self):
        sid, _ = self.start()
        ended = False
        try:
            edit = self.find(sid).json()["value"][ELEMENT]
            post_stall(12000)
            time.sleep(1.0)
            r, took = timed(lambda: requests.post(f"{URL}/session/{sid}/element/{edit}/clear", json={}, timeout=60))
            self.assertW3CError(r, error="timeout")
            self.assertLess(took, self.REQUEST_TIMEOUT_MS / 1000 + 2)
            # The page source needs the items, which the hanging application cannot list: timeout in time.
            r, took = timed(lambda: requests.get(f"{URL}/session/{sid}/source", timeout=60))
            self.assertW3CError(r, error="timeout")
            self.assertLess(took, self.REQUEST_TIMEOUT_MS / 1000 + 3)
            # The window commands do not wait for it: its title as the system keeps it.
            r = requests.get(f"{URL}/session/{sid}/title", timeout=30)
            self.assertEqual(r.status_code, 200, r.text[:300])
            self.assertEqual(r.json()["value"], "Vintrel Sample \u00c4\u00e9\u00f1")
            # Ending it closes a program that does not answer: asked, then made to.
            r, took = timed(lambda: requests.delete(f"{URL}/session/{sid}", timeout=60))
            ended = r.status_code == 200
            self.assertEqual(r.status_code, 200, r.text)
            self.assertLess(took, 10.0, "ending the session waited for the hanging program")
        finally:
            if not ended:
                requests.delete(f"{URL}/session/{sid}", timeout=60)
        self.assertTrue(requests.get(URL + "/status", timeout=10).json()["value"]["ready"])
        self.next_session_works()


class NobodyElse(unittest.TestCase, W3CAssertions):
    """A web page on this machine (cross-site requests, DNS rebinding) cannot
    start a program through the server, nor can a request with its headers
    given twice."""

    def setUp(self):
        self.host, self.port = host_port(URL)
        self.samples_before = top_windows_of_class(FRAME_CLASS)
        self.ready_before = requests.get(URL + "/status", timeout=10).json()["value"]["ready"]

    def start_request(self, headers):
        body = json.dumps({"capabilities": {"alwaysMatch": {"appium:app": "VintrelSample.exe",
                                                            "appium:appArguments": "--no-dialog"}}}).encode()
        head = "".join(f"{name}: {value}\r\n" for name, value in headers)
        data = (f"POST /session HTTP/1.1\r\n{head}Content-Type: text/plain\r\nContent-Length: {len(body)}\r\n\r\n"
                .encode() + body)
        return raw_exchange(URL, data, read_timeout=60)

    def assertRefusedAndNothingStarted(self, headers, part):
        status, body, raw = self.start_request(headers)
        made = (body or {}).get("value") or {}
        if isinstance(made, dict) and made.get("sessionId"):
            requests.delete(f"{URL}/session/{made['sessionId']}", timeout=60)
        self.assertW3CError(status, body, error="unknown error", message_part=part)
        self.assertNotIn(b"Access-Control-Allow-Origin", raw)
        self.assertEqual(requests.get(URL + "/status", timeout=10).json()["value"]["ready"], self.ready_before,
                         "a session was made")
        self.assertEqual(top_windows_of_class(FRAME_CLASS), self.samples_before,
                         "the refused request started the program")

    def test_a_rebound_dns_name_cannot_start_a_program(self):
        for host in [f"attacker.example:{self.port}", f"localhost.attacker.example:{self.port}",
                     f"127.0.0.1.nip.example:{self.port}", f"localhost.:{self.port}"]:
            with self.subTest(host=host):
                self.assertRefusedAndNothingStarted([("Host", host)], "Host")

    def test_a_cross_site_page_cannot_start_a_program(self):
        for origin in ["http://attacker.example", "null", f"http://127.0.0.1:{self.port}",
                       f"http://localhost:{self.port + 1}"]:
            with self.subTest(origin=origin):
                self.assertRefusedAndNothingStarted([("Host", f"127.0.0.1:{self.port}"), ("Origin", origin)],
                                                    "origin")

    def test_headers_given_twice_are_refused(self):
        good = f"127.0.0.1:{self.port}"
        cases = [([("Host", good), ("Host", "attacker.example")], "Host"),
                 ([("Host", "attacker.example"), ("Host", good)], "Host"),
                 ([("Host", good), ("Origin", f"http://127.0.0.1:{self.port}"), ("Origin", "http://attacker.example")],
                  "Origin")]
        for headers, part in cases:
            with self.subTest(headers=headers):
                self.assertRefusedAndNothingStarted(headers, part)

    def test_a_full_url_in_the_request_line_runs_no_command(self):
        status, body, _ = raw_exchange(URL, (f"GET http://attacker.example/status HTTP/1.1\r\n"
                                             f"Host: 127.0.0.1:{self.port}\r\n\r\n").encode())
        self.assertW3CError(status, body, error="unknown command")


class ListensWhereItSays(unittest.TestCase):
    def test_by_default_only_loopback_is_served(self):
        server, url, lines = run_suite.start_server(BIN_DIR)
        try:
            port = host_port(url)[1]
            self.assertIn("127.0.0.1", url)
            self.assertIn("loopback only", lines[0])
            # Every other address of the machine refuses the connection.
            addresses = subprocess.run(["hostname", "-I"], capture_output=True, text=True).stdout.split()
            others = [a for a in addresses if not a.startswith("127.") and ":" not in a]
            for address in others:
                with self.subTest(address=address):
                    with self.assertRaises(OSError):
                        socket.create_connection((address, port), timeout=5).close()
            if not others:
                self.skipTest("this machine has no address but loopback")
        finally:
            run_suite.stop_server(server)

    def test_beyond_loopback_the_host_must_be_allowed_and_the_secret_given(self):
        addresses = [a for a in subprocess.run(["hostname", "-I"], capture_output=True, text=True).stdout.split()
                     if not a.startswith("127.") and ":" not in a]
        if not addresses:
            self.skipTest("this machine has no address but loopback")
        address = addresses[0]
        server, url, lines = run_suite.start_server(BIN_DIR, ["--host", address, "--secret", "k3y"])
        try:
            port = host_port(url)[1]
            self.assertIn("NOT only loopback", lines[0])
            self.assertIn("secret", lines[0])
            base = f"http://{address}:{port}"
            self.assertEqual(requests.get(base + "/status", headers={"X-Vintrel-Secret": "k3y"}, timeout=10)
                             .status_code, 200)
            r = requests.get(base + "/status", timeout=10)
            self.assertEqual(r.json()["value"]["error"], "unknown error")
            self.assertIn("X-Vintrel-Secret", r.json()["value"]["message"])
            r = requests.get(base + "/status", headers={"X-Vintrel-Secret": "k3y", "Host": f"other.example:{port}"},
                             timeout=10)
            self.assertEqual(r.json()["value"]["error"], "unknown error")
        finally:
            run_suite.stop_server(server)
        server, url, lines = run_suite.start_server(BIN_DIR, ["--host", address, "--secret", "k3y",
                                                              "--allowed-hosts", "wd.example"])
        try:
            port = host_port(url)[1]
            r = requests.get(f"http://{address}:{port}/status",
                             headers={"X-Vintrel-Secret": "k3y", "Host": f"wd.example:{port}"}, timeout=10)
            self.assertEqual(r.status_code, 200, r.text)
        finally:
            run_suite.stop_server(server)

    def test_without_a_secret_beyond_loopback_it_says_so(self):
        server, url, lines = run_suite.start_server(BIN_DIR, ["--host", "0.0.0.0"])
        try:
            self.assertIn("NOT only loopback", lines[0])
            self.assertIn("no --secret", lines[0])
        finally:
            run_suite.stop_server(server)


if __name__ == "__main__":
    unittest.main()
