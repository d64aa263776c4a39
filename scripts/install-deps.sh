#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Idempotent; prints
# nothing when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang-14 libclang-rt-14-dev lld pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
    qt6-translations-l10n
    libgtest-dev libgmock-dev
    poppler-utils
    desktop-file-utils appstream
    dpkg-dev file
    xvfb xauth x11-utils x11-apps libxcb1-dev qt6-qpa-plugins
    dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo: ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq >/dev/null
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
