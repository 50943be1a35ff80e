"""The WebDriver server's own side on the wire, with raw HTTP: the envelope and
the W3C errors with their statuses, routing, bodies that are not what they
should be, the size and time limits, many and silent connections, and who may
use the server (Host, Origin, the shared secret).

Environment: VINTREL_WEBDRIVER_URL (the server run_suite.py started),
VINTREL_BIN_DIR (for servers of its own with other options).
"""
import json
import os
import socket
import time
import unittest
from urllib.parse import urlparse

import requests

import run_suite

URL = os.environ.get("VINTREL_WEBDRIVER_URL", "http://127.0.0.1:4723")
BIN_DIR = os.environ.get("VINTREL_BIN_DIR", os.path.join(os.path.dirname(__file__), "../../build/x64/bin"))

# W3C: error name -> HTTP status.
W3C_STATUS = {
    "invalid argument": 400, "invalid session id": 404, "unknown command": 404, "unknown method": 405,
    "session not created": 500, "unknown error": 500, "no such window": 404, "timeout": 500,
    "move target out of bounds": 500, "unsupported operation": 500, "no such element": 404,
    "stale element reference": 404, "invalid selector": 400, "element click intercepted": 400,
}


def host_port(url):
    parsed = urlparse(url)
    return parsed.hostname, parsed.port


def raw_exchange(url, data, read_timeout=10.0, host_header=True):
    """Sends raw bytes on a fresh connection; (status, body JSON or None, raw answer)."""
    host, port = host_port(url)
    with socket.create_connection((host, port), timeout=read_timeout) as s:
        s.sendall(data)
        answer = b""
        while True:
            try:
                chunk = s.recv(65536)
            except socket.timeout:
                break
            if not chunk:
                break
            answer += chunk
            head, sep, body = answer.partition(b"\r\n\r\n")
            if sep:
                length = [int(l.split(b":")[1]) for l in head.split(b"\r\n") if l.lower().startswith(b"content-length:")]
                if length and len(body) >= length[0]:
                    break
    head, _, body = answer.partition(b"\r\n\r\n")
    status = int(head.split(b" ")[1]) if head.startswith(b"HTTP/1.1 ") else None
    try:
        parsed = json.loads(body) if body else None
    except ValueError:
        parsed = None
    return status, parsed, answer


class W3CAssertions:
    def assertW3CError(self, response_or_status, body=None, error=None, message_part=None):
        """The answer is the W3C error with its status, in the envelope, with a message and a stacktrace."""
        if body is None:
            status, body = response_or_status.status_code, response_or_status.json()
        else:
            status = response_or_status
        self.assertIsInstance(body, dict, f"no JSON object in the answer (status {status})")
        value = body.get("value")
        self.assertIsInstance(value, dict, f"no error object in {body}")
        self.assertEqual(value.get("error"), error, f"expected error {error!r}, got {value}")
        self.assertEqual(status, W3C_STATUS[error], f"status of {error!r}: got {status}, expected {W3C_STATUS[error]}")
        self.assertIsInstance(value.get("message"), str)
        self.assertIn("stacktrace", value)
        if message_part:
            self.assertIn(message_part, value["message"])


class EnvelopeAndRouting(unittest.TestCase, W3CAssertions):
    def test_status_is_answered_in_the_envelope_as_json(self):
        r = requests.get(URL + "/status", timeout=10)
        self.assertEqual(r.status_code, 200)
        self.assertTrue(r.headers["Content-Type"].startswith("application/json"), r.headers)
        value = r.json()["value"]
        self.assertIsInstance(value["ready"], bool)
        self.assertIsInstance(value["message"], str)

    def test_unknown_paths_and_methods_have_their_errors(self):
        self.assertW3CError(requests.get(URL + "/no/such/thing", timeout=10), error="unknown command")
        self.assertW3CError(requests.get(URL + "/session/x/no-such-command", timeout=10), error="unknown command")
        self.assertW3CError(requests.put(URL + "/status", timeout=10), error="unknown method")
        self.assertW3CError(requests.get(URL + "/session", timeout=10), error="unknown method")

    def test_commands_of_a_session_that_does_not_exist(self):
        for method, path in [("GET", "/window"), ("GET", "/window/handles"), ("GET", "/title"),
                             ("POST", "/window/rect"), ("GET", "/screenshot"), ("POST", "/actions"),
                             ("DELETE", "/actions"), ("GET", "/timeouts"), ("DELETE", "")]:
            r = requests.request(method, URL + "/session/00000000-0000-4000-8000-000000000000" + path,
                                 json={} if method == "POST" else None, timeout=10)
            self.assertW3CError(r, error="invalid session id")

    def test_query_strings_and_escaped_ids_are_routed(self):
        r = requests.get(URL + "/status?x=1", timeout=10)
        self.assertEqual(r.status_code, 200)
        self.assertW3CError(requests.get(URL + "/session/%2e%2e%2Fstatus/window", timeout=10),
                            error="invalid session id")


class Bodies(unittest.TestCase, W3CAssertions):
    def post(self, data, path="/session"):
        return requests.post(URL + path, data=data, headers={"Content-Type": "application/json"}, timeout=20)

    def test_bodies_that_are_no_json_object_are_invalid_arguments(self):
        for data in [b"", b"not json", b"{", b'{"capabilities": ', b"[]", b"42", b'"text"', b"null",
                     b'{"a": 1}{"b": 2}', b"\xff\xfe{}", b'{"capabilities": {"alwaysMatch": {"platformName": "\xff"}}}']:
            with self.subTest(data=data[:40]):
                self.assertW3CError(self.post(data), error="invalid argument")

    def test_deeply_nested_json_is_refused_before_it_is_parsed(self):
        for data in [b"[" * 200000, b'{"a":' * 100000, b"[" * 65 + b"]" * 65]:
            self.assertW3CError(self.post(data), error="invalid argument", message_part="nests")
        # Nesting inside strings does not count.
        r = self.post(json.dumps({"capabilities": {"alwaysMatch": {"vintrel:x": "[" * 1000}}}).encode())
        self.assertNotIn("nests", r.json()["value"].get("message", ""))

    def test_wrong_json_types_in_new_session_are_invalid_arguments(self):
        cases = [
            {},
            {"capabilities": []},
            {"capabilities": {"alwaysMatch": []}},
            {"capabilities": {"firstMatch": {}}},
            {"capabilities": {"firstMatch": []}},
            {"capabilities": {"firstMatch": [1]}},
            {"capabilities": {"alwaysMatch": {"platformName": 7}}},
            {"capabilities": {"alwaysMatch": {"acceptInsecureCerts": "yes"}}},
            {"capabilities": {"alwaysMatch": {"pageLoadStrategy": "fast"}}},
            {"capabilities": {"alwaysMatch": {"timeouts": {"implicit": -1}}}},
            {"capabilities": {"alwaysMatch": {"timeouts": {"implicit": 1.5}}}},
            {"capabilities": {"alwaysMatch": {"timeouts": {"script": "x"}}}},
            {"capabilities": {"alwaysMatch": {"timeouts": []}}},
            {"capabilities": {"alwaysMatch": {"noSuchStandardCapability": True}}},
            {"capabilities": {"alwaysMatch": {"appium:app": 12}}},
            {"capabilities": {"alwaysMatch": {"vintrel:requestTimeout": "soon"}}},
            {"capabilities": {"alwaysMatch": {"vintrel:requestTimeout": 10 ** 12}}},
            {"capabilities": {"alwaysMatch": {"appium:app": "a.exe", "vintrel:app": "b.exe"}}},
            {"capabilities": {"alwaysMatch": {"appium:app": "a.exe", "appium:appTopLevelWindow": "0x10"}}},
            {"capabilities": {"alwaysMatch": {"appium:appTopLevelWindow": "not hex"}}},
            {"capabilities": {"alwaysMatch": {"platformName": "windows"}, "firstMatch": [{"platformName": "windows"}]}},
        ]
        for body in cases:
            with self.subTest(body=body):
                self.assertW3CError(self.post(json.dumps(body).encode()), error="invalid argument")

    def test_capabilities_that_match_nothing_create_no_session(self):
        cases = [
            ({"alwaysMatch": {"platformName": "mac", "appium:app": "x.exe"}}, "platformName"),
            ({"alwaysMatch": {"browserName": "firefox", "appium:app": "x.exe"}}, "browser"),
            ({"alwaysMatch": {"platformName": "windows"}}, "appium:app"),
            ({"firstMatch": [{"platformName": "linux"}, {"proxy": {}}]}, "proxy"),
            ({"alwaysMatch": {"appium:app": "Root"}}, "desktop"),
            ({"alwaysMatch": {"appium:app": "NoSuchProgramAnywhere.exe"}}, "cannot start"),
            ({"alwaysMatch": {"appium:appTopLevelWindow": "0x7FFFFFF0"}}, "no window"),
        ]
        for capabilities, part in cases:
            with self.subTest(capabilities=capabilities):
                r = requests.post(URL + "/session", json={"capabilities": capabilities}, timeout=60)
                self.assertW3CError(r, error="session not created", message_part=part)

    def test_an_oversized_body_is_refused_and_the_server_goes_on(self):
        big = b'{"capabilities": "' + b"x" * (2 * 1024 * 1024) + b'"}'
        host, port = host_port(URL)
        request = (f"POST /session HTTP/1.1\r\nHost: {host}:{port}\r\nContent-Type: application/json\r\n"
                   f"Content-Length: {len(big)}\r\n\r\n").encode()
        try:
            status, body, _ = raw_exchange(URL, request + big)
        except ConnectionError:
            status, body = None, None  # closed before all was sent: read the answer the short way
        if status is None:
            status, body, _ = raw_exchange(URL, request + big[:1024], read_timeout=10)
        self.assertW3CError(status, body, error="invalid argument", message_part="body exceeds")
        self.assertEqual(requests.get(URL + "/status", timeout=10).status_code, 200)

    def test_oversized_headers_are_refused(self):
        host, port = host_port(URL)
        request = (f"GET /status HTTP/1.1\r\nHost: {host}:{port}\r\nX-Filler: {'y' * 40000}\r\n\r\n").encode()
        status, body, _ = raw_exchange(URL, request)
        self.assertW3CError(status, body, error="invalid argument", message_part="headers exceed")

    def test_broken_http_gets_an_answer_and_a_closed_connection(self):
        host, port = host_port(URL)
        for data in [b"GARBAGE\r\n\r\n", b"GET\r\n\r\n", b"GET /status HTTP/9.9\r\n\r\n",
                     f"POST /session HTTP/1.1\r\nHost: {host}:{port}\r\nContent-Length: -5\r\n\r\n".encode(),
                     f"POST /session HTTP/1.1\r\nHost: {host}:{port}\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n".encode(),
                     b"\x00\x01\x02\x03\r\n\r\n"]:
            with self.subTest(data=data[:30]):
                status, body, raw = raw_exchange(URL, data)
                self.assertW3CError(status, body, error="invalid argument")
                self.assertIn(b"Connection: close", raw)

    def test_keep_alive_serves_many_requests_on_one_connection(self):
        with requests.Session() as http:
            for _ in range(50):
                self.assertEqual(http.get(URL + "/status", timeout=10).status_code, 200)


class Connections(unittest.TestCase):
    def test_silent_and_half_sent_requests_do_not_hold_the_server(self):
        host, port = host_port(URL)
        idle = []
        try:
            for i in range(100):
                s = socket.create_connection((host, port), timeout=5)
                if i % 2:
                    s.sendall(b"POST /session HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n{")  # never finished
                idle.append(s)
            start = time.monotonic()
            r = requests.get(URL + "/status", timeout=10)
            self.assertEqual(r.status_code, 200)
            self.assertLess(time.monotonic() - start, 3.0, "status waited behind silent connections")
        finally:
            for s in idle:
                s.close()
        self.assertEqual(requests.get(URL + "/status", timeout=10).status_code, 200)


class Guarded(unittest.TestCase, W3CAssertions):
    """A server of its own with a secret, allowed names and origins, and a short client time."""

    server = None

    @classmethod
    def setUpClass(cls):
        cls.server, cls.url, cls.lines = run_suite.start_server(
            BIN_DIR, ["--secret", "s3cret-x", "--allowed-origins", "http://good.example:8000,http://other.example",
                      "--allowed-hosts", "wd.example,wd2.example:81", "--client-timeout", "1500"])
        cls.host, cls.port = host_port(cls.url)

    @classmethod
    def tearDownClass(cls):
        if cls.server:
            run_suite.stop_server(cls.server)

    def get(self, headers, path="/status", method="GET"):
        full = {"X-Vintrel-Secret": "s3cret-x"}
        full.update(headers)
        return requests.request(method, self.url + path, headers={k: v for k, v in full.items() if v is not None},
                                timeout=10)

    def test_it_says_where_it_listens_and_that_it_is_loopback_only(self):
        self.assertIn("loopback only", self.lines[0])
        self.assertIn(f"127.0.0.1:{self.port}", self.lines[0])

    def test_the_host_header_must_name_this_server(self):
        for host in [f"127.0.0.1:{self.port}", f"localhost:{self.port}", "127.0.0.1", "LOCALHOST",
                     "wd.example", f"wd.example:{self.port}", "wd2.example:81"]:
            with self.subTest(host=host):
                self.assertEqual(self.get({"Host": host}).status_code, 200)
        for host in ["evil.example", f"evil.example:{self.port}", f"127.0.0.1:{self.port + 1}", "wd2.example",
                     f"wd2.example:{self.port}", "127.0.0.1.evil.example", "", "[::1", "localhost:99999999"]:
            with self.subTest(host=host):
                self.assertW3CError(self.get({"Host": host}), error="unknown error", message_part="refused")

    def test_a_request_without_host_is_refused(self):
        status, body, _ = raw_exchange(self.url, b"GET /status HTTP/1.0\r\nX-Vintrel-Secret: s3cret-x\r\n\r\n")
        self.assertW3CError(status, body, error="unknown error", message_part="no Host")

    def test_browser_origins_pass_only_when_allowed(self):
        r = self.get({"Origin": "http://good.example:8000"})
        self.assertEqual(r.status_code, 200)
        self.assertEqual(r.headers.get("Access-Control-Allow-Origin"), "http://good.example:8000")
        for origin in ["http://evil.example", "http://good.example:8001", "null", "https://good.example:8000", ""]:
            with self.subTest(origin=origin):
                self.assertW3CError(self.get({"Origin": origin}), error="unknown error", message_part="origin")
        # A cross-site POST that would start a program is refused before it is read.
        r = requests.post(self.url + "/session", data='{"capabilities":{"alwaysMatch":{"appium:app":"notepad.exe"}}}',
                          headers={"Origin": "http://evil.example", "Content-Type": "text/plain",
                                   "X-Vintrel-Secret": "s3cret-x"}, timeout=10)
        self.assertW3CError(r, error="unknown error", message_part="origin")

    def test_preflight_of_an_allowed_origin_is_answered(self):
        r = self.get({"Origin": "http://other.example", "Access-Control-Request-Method": "POST"}, "/session", "OPTIONS")
        self.assertEqual(r.status_code, 204)
        self.assertIn("POST", r.headers.get("Access-Control-Allow-Methods", ""))
        self.assertIn("X-Vintrel-Secret", r.headers.get("Access-Control-Allow-Headers", ""))
        r = self.get({"Origin": "http://evil.example", "Access-Control-Request-Method": "POST"}, "/session", "OPTIONS")
        self.assertW3CError(r, error="unknown error")

    def test_the_secret_is_required(self):
        self.assertEqual(self.get({}).status_code, 200)
        for secret in [None, "", "s3cret-y", "s3cret-x2", "s3cret-", "S3CRET-X"]:
            with self.subTest(secret=secret):
                self.assertW3CError(self.get({"X-Vintrel-Secret": secret}), error="unknown error",
                                    message_part="X-Vintrel-Secret")

    def test_a_silent_client_is_cut_off_after_the_client_time(self):
        with socket.create_connection((self.host, self.port), timeout=10) as s:
            s.sendall(b"GET /status HTTP/1.1\r\n")  # and nothing more
            start = time.monotonic()
            data = s.recv(100)
            waited = time.monotonic() - start
        self.assertEqual(data, b"", "the server answered a request it never got whole")
        self.assertGreater(waited, 1.0)
        self.assertLess(waited, 6.0, "a silent client held its connection past the client time")

    def test_an_idle_keep_alive_connection_is_closed_and_new_ones_work(self):
        with socket.create_connection((self.host, self.port), timeout=10) as s:
            s.sendall(f"GET /status HTTP/1.1\r\nHost: 127.0.0.1:{self.port}\r\nX-Vintrel-Secret: s3cret-x\r\n\r\n".encode())
            first = s.recv(65536)
            self.assertIn(b"200 OK", first)
            start = time.monotonic()
            self.assertEqual(s.recv(100), b"")
            self.assertLess(time.monotonic() - start, 6.0)
        self.assertEqual(self.get({}).status_code, 200)


class ListenAddress(unittest.TestCase):
    def test_a_non_loopback_address_is_said_to_be_reachable_from_outside(self):
        server, url, lines = run_suite.start_server(BIN_DIR, ["--host", "0.0.0.0", "--secret", "k"])
        try:
            self.assertIn("NOT only loopback", lines[0])
            # Reached through loopback: the Host names loopback, the secret is needed.
            port = host_port(url)[1]
            r = requests.get(f"http://127.0.0.1:{port}/status", headers={"X-Vintrel-Secret": "k"}, timeout=10)
            self.assertEqual(r.status_code, 200)
            r = requests.get(f"http://127.0.0.1:{port}/status", timeout=10)
            self.assertEqual(r.json()["value"]["error"], "unknown error")
        finally:
            run_suite.stop_server(server)

    def test_a_name_that_is_no_address_is_refused_at_start(self):
        run = run_suite.subprocess.run([run_suite.WINE, os.path.join(BIN_DIR, "vintrel.exe"), "serve", "--host",
                                        "example.com", "--port", "0", "--seconds", "5"],
                                       cwd=BIN_DIR, capture_output=True, text=True, timeout=60)
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("no IP address", run.stdout + run.stderr)


if __name__ == "__main__":
    unittest.main()
