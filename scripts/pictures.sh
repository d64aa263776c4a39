#!/usr/bin/env bash
# Installs what is missing, builds, and renders every window of Zav7305 to docs/pictures/*.png
# (the pictures the README and the help guide show). When Xvfb and the openbox window manager
# are installed, the windows are shown on a virtual screen under openbox and taken with the
# frame the window manager gives them; otherwise they are rendered offscreen, without frames.
#   scripts/pictures.sh [--offscreen]
# ZAV_BUILD_DIR chooses another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ZAV_BUILD_DIR:-build}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target zav7305-pictures
mkdir -p docs/pictures

if [[ "${1:-}" == "--offscreen" ]] || ! command -v Xvfb >/dev/null || ! command -v openbox >/dev/null; then
    QT_QPA_PLATFORM=offscreen "$build/app/zav7305-pictures" docs/pictures
    exit 0
fi

workdir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$workdir"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s "$workdir/display" ]] && break; sleep 0.1; done
[[ -s "$workdir/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$workdir/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
# openbox announces itself on the root window once it manages the screen.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
QT_QPA_PLATFORM=xcb "$build/app/zav7305-pictures" --on-screen docs/pictures
