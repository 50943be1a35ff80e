#!/usr/bin/python3
"""Runs the WebDriver suite: starts `vintrel serve --port 0` under 64-bit Wine,
reads the address it prints, runs every tests/webdriver/test_*.py against it
with Python's unittest, and stops the server. Exit code 0 when every test
passed.

    run_suite.py BIN_DIR [unittest arguments, e.g. -k wire]

The tests read VINTREL_WEBDRIVER_URL (the server) and VINTREL_BIN_DIR.
"""
import os
import re
import subprocess
import sys
import threading
import time
import unittest

WINE = "/usr/lib/wine/wine64"
START_TIMEOUT_S = 90


def start_server(bin_dir, extra_args=()):
    """Starts the server; (process, url, lines) where lines collects what it prints."""
    server = subprocess.Popen([WINE, os.path.join(bin_dir, "vintrel.exe"), "serve", "--port", "0", *extra_args],
                              cwd=bin_dir, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              errors="replace")
    lines = []
    found = threading.Event()
    url = []

    def read():
        for line in server.stdout:
            lines.append(line.rstrip())
            match = re.search(r"listening on (http://\S+)", line)
            if match and not url:
                url.append(match.group(1))
                found.set()
        found.set()

    threading.Thread(target=read, daemon=True).start()
    if not found.wait(START_TIMEOUT_S) or not url:
        stop_server(server)
        raise RuntimeError("the server did not say where it listens; it printed: " + " | ".join(lines))
    return server, url[0], lines


def stop_server(server):
    if server.poll() is None:
        server.terminate()
        try:
            server.wait(10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait(10)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    bin_dir = os.path.abspath(sys.argv[1])
    server, url, lines = start_server(bin_dir)
    print(f"server: {url} ({lines[0] if lines else ''})", flush=True)
    os.environ["VINTREL_WEBDRIVER_URL"] = url
    os.environ["VINTREL_BIN_DIR"] = bin_dir
    try:
        here = os.path.dirname(os.path.abspath(__file__))
        argv = [sys.argv[0], "discover", "-s", here, "-p", "test_*.py", "-v", *sys.argv[2:]]
        program = unittest.main(module=None, argv=argv, exit=False)
        result = program.result
        ok = result.wasSuccessful()
        # A test counts once however many of its subtests failed.
        failed_tests = {getattr(test, "test_case", test).id()
                        for test in [t for t, _ in result.failures + result.errors] + result.unexpectedSuccesses}
        failed = len(failed_tests)
        passed = result.testsRun - failed - len(result.skipped)
        print(f"{passed} passed, {failed} failed", flush=True)
    finally:
        stop_server(server)
    if server.returncode not in (0, None) and not ok:
        print("server output:\n  " + "\n  ".join(lines), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
