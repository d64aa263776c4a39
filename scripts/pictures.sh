#!/usr/bin/env bash
# Installs what is missing, builds, and renders every window of Zav7305 offscreen to
# docs/pictures/*.png (the pictures the README shows).
# ZAV_BUILD_DIR chooses another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ZAV_BUILD_DIR:-build}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target zav7305-pictures
mkdir -p docs/pictures
QT_QPA_PLATFORM=offscreen "$build/app/zav7305-pictures" docs/pictures
