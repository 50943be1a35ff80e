#!/usr/bin/python3
"""Benchmark of the WebDriver server through HTTP: find by name in a
10,000-item list view, find by XPath over the page source of the sample's
items window, a click on a found element, and GET /status. Prints the
median and the 99th percentile of each in milliseconds.

    webdriver_bench.py --bin-dir build/x64/bin [--runs 30]

Starts `vintrel serve --port 0` under wine64 (the environment of
scripts/env.sh: WINEPREFIX, DISPLAY) unless --url names a running server.
"""
import argparse
import http.client
import json
import os
import statistics
import subprocess
import sys
import time
import urllib.parse

WINE = "/usr/lib/wine/wine64"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"


class Wire:
    """One kept-alive HTTP connection speaking the WebDriver wire."""

    def __init__(self, url):
        parts = urllib.parse.urlsplit(url)
        self.connection = http.client.HTTPConnection(parts.hostname, parts.port, timeout=120)

    def call(self, method, path, body=None):
        payload = None if body is None else json.dumps(body)
        headers = {"Content-Type": "application/json"} if payload is not None else {}
        self.connection.request(method, path, body=payload, headers=headers)
        answer = self.connection.getresponse()
        value = json.loads(answer.read() or b"{}").get("value")
        if answer.status != 200:
            raise RuntimeError(f"{method} {path}: {answer.status} {value}")
        return value


def timed(action, runs):
    """Milliseconds of each run of action."""
    times = []
    for _ in range(runs):
        started = time.perf_counter()
        action()
        times.append((time.perf_counter() - started) * 1000.0)
    return times


def p99(times):
    ordered = sorted(times)
    return ordered[min(len(ordered) - 1, int(round(0.99 * (len(ordered) - 1))))]


def start_server(bin_dir):
    server = subprocess.Popen([WINE, os.path.join(bin_dir, "vintrel.exe"), "serve", "--port", "0"],
                              stdout=subprocess.PIPE, text=True)
    first = server.stdout.readline()
    port = next((word for word in first.replace(":", " ").split() if word.isdigit()), None)
    if not port:
        server.kill()
        sys.exit(f"the server did not say its port: {first!r}")
    return server, f"http://127.0.0.1:{port}"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin-dir", default="build/x64/bin")
    parser.add_argument("--url")
    parser.add_argument("--runs", type=int, default=30)
    args = parser.parse_args()
    server = None
    url = args.url
    if not url:
        server, url = start_server(args.bin_dir)
    wire = Wire(url)
    sample = "Z:" + os.path.abspath(os.path.join(args.bin_dir, "VintrelSample.exe")).replace("/", "\\")
    session = wire.call("POST", "/session", {"capabilities": {"alwaysMatch": {
        "platformName": "windows", "appium:app": sample, "appium:appArguments": "--items 10000 --no-dialog"}}})
    sid = session["sessionId"]
    rows = []
    try:
        def find(using, value):
            return wire.call("POST", f"/session/{sid}/element", {"using": using, "value": value})[ELEMENT]

        rows.append(("find by name, 10,000-item list view (item 9990)",
                     timed(lambda: find("name", "Item 9990"), args.runs), 50))
        rows.append(("find by XPath, 10,000-item list view's window",
                     timed(lambda: find("xpath", "//ListViewItem[@Name='Item 9990']"), max(3, args.runs // 5)),
                     None))
        rows.append(("page source, 10,000-item list view's window",
                     timed(lambda: wire.call("GET", f"/session/{sid}/source"), max(3, args.runs // 5)), None))
        # Two items far enough apart that no click counts as the second half
        # of a double click (the server waits that out for a click close by).
        elements = [find("name", "Item 0003"), find("name", "Item 0012")]
        turn = [0]

        def click():
            turn[0] ^= 1
            wire.call("POST", f"/session/{sid}/element/{elements[turn[0]]}/click", {})

        rows.append(("click on a found element (list item)", timed(click, args.runs), None))
        for handle in wire.call("GET", f"/session/{sid}/window/handles"):
            wire.call("POST", f"/session/{sid}/window", {"handle": handle})
            if wire.call("GET", f"/session/{sid}/title") == "Sample Items":
                break
        rows.append(("find by XPath, items window's page source",
                     timed(lambda: find("xpath", "//TreeItem[@Name='Archive']/TreeItem"), args.runs), 500))
        rows.append(("page source of the items window",
                     timed(lambda: wire.call("GET", f"/session/{sid}/source"), args.runs), None))
        rows.append(("GET /status", timed(lambda: wire.call("GET", "/status"), args.runs * 10), 2))
    finally:
        wire.call("DELETE", f"/session/{sid}")
        if server:
            server.terminate()
            server.wait(timeout=30)
    print(f"WebDriver through HTTP, {args.runs} runs ({args.runs * 10} for status, {max(3, args.runs // 5)} for the "
          f"10,000-item page source), milliseconds")
    print(f"{'operation':52} {'median':>9} {'p99':>9} {'aim':>6}")
    for name, times, aim in rows:
        aim_text = f"< {aim}" if aim else "-"
        print(f"{name:52} {statistics.median(times):9.2f} {p99(times):9.2f} {aim_text:>6}")


if __name__ == "__main__":
    main()
