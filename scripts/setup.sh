#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (run as root).
# Safe to run again: packages already present are skipped.
set -euo pipefail

PACKAGES=(cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth
          x11-apps imagemagick googletest binutils-mingw-w64-x86-64
          nlohmann-json3-dev libcli11-dev ccache
          libboost1.81-dev libstb-dev                  # the WebDriver server: Beast/Asio, the PNG writer
          python3-selenium python3-requests            # its tests, with Selenium's own client
          clang libclang-rt-14-dev)  # the native fuzz build: clang, libFuzzer and the sanitizers' runtimes

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: missing packages ${missing[*]}; run as root to install them" >&2
        exit 1
    fi
    # Never pull in the 32-bit Wine half: it makes every Wine start crawl here.
    if dpkg --print-foreign-architectures | grep -q i386; then
        echo "setup: warning: i386 is a foreign architecture; not installing wine32" >&2
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
