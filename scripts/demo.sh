#!/usr/bin/env bash
# Installs what is missing, builds, and opens Zav7305 with a simulated device plugged into a
# virtual serial port (a stream of devices: each one that has been sent a configuration and
# read back is followed by a fresh one). The simulator stops when the tool closes.
#
#   scripts/demo.sh                     open the tool on this desktop
#   scripts/demo.sh --xvfb              run it on a virtual screen (the default without a
#                                       display), check that it comes up, then close it
#   scripts/demo.sh --xvfb --screenshot FILE
#                                       the same, saving a picture of the screen to FILE
#
# The build is optimised, in build-release/ (ZAV_BUILD_DIR chooses another folder).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,12s/^# \{0,1\}//p' "$0"; }

use_xvfb=0
screenshot=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --xvfb) use_xvfb=1; shift ;;
        --screenshot)
            [[ $# -ge 2 ]] || { echo "--screenshot needs a file name" >&2; exit 2; }
            screenshot=$2; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        *) echo "unknown option: $1" >&2; usage >&2; exit 2 ;;
    esac
done
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    use_xvfb=1
fi
if [[ -n "$screenshot" && $use_xvfb -eq 0 ]]; then
    echo "--screenshot works with --xvfb only" >&2
    exit 2
fi

build=${ZAV_BUILD_DIR:-build-release}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target Zav7305 zav7305-sim

workdir=$(mktemp -d)
sim_pid=""
cleanup() {
    if [[ -n "$sim_pid" ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The simulator prints one READY line once its port is announced, then a line per exchange.
mkfifo "$workdir/sim"
"$build/sim/zav7305-sim" --device any --stream >"$workdir/sim" &
sim_pid=$!
exec 3<"$workdir/sim"
if ! IFS= read -r -t 10 ready <&3 || [[ "$ready" != READY\ * ]]; then
    echo "the simulator did not start" >&2
    exit 1
fi
read -r _ port pty <<<"$ready"
echo "Simulated device on $port ($pty); choose it in the setup dialog."
sed -u 's/^/  device: /' <&3 &
exec 3<&-

if [[ $use_xvfb -eq 0 ]]; then
    "$build/app/Zav7305"
    exit 0
fi

# On the virtual screen nobody can answer the login; the tool must come up and keep running.
# shellcheck disable=SC2016  # the inner script expands its own arguments
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    "$1" & app=$!
    for _ in $(seq 75); do
        if command -v xwininfo >/dev/null; then
            xwininfo -root -tree 2>/dev/null | grep -q "Zav7305 : Login" && break
        fi
        kill -0 "$app" 2>/dev/null || break
        sleep 0.2
    done
    if ! kill -0 "$app" 2>/dev/null; then
        echo "the tool ended on its own" >&2
        exit 1
    fi
    if [[ -n "$2" ]]; then
        if command -v import >/dev/null; then
            import -window root "$2" && echo "screenshot: $2"
        elif command -v xwd >/dev/null; then
            xwd -root -silent >"$2" && echo "screenshot (XWD format): $2"
        else
            echo "no screenshot: neither import nor xwd is installed"
        fi
    fi
    echo "Zav7305 is up on the virtual screen; closing it."
    kill "$app"
    wait "$app" 2>/dev/null
    exit 0
 ' _ "$(cd "$build" && pwd)/app/Zav7305" "$screenshot"
