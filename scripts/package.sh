#!/usr/bin/env bash
# Builds the Debian package zav7305_<version>_<arch>.deb into the repository's top folder:
# an optimised build installed under /usr, without tests, its dependencies read from the
# binaries by dpkg-shlibdeps. Install it with `sudo apt install ./zav7305_*.deb`.
# ZAV_PACKAGE_BUILD_DIR chooses another build folder than build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build=${ZAV_PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
package=$(cd "$build" && ls zav7305_*.deb)
cp "$build/$package" .
echo "$PWD/$package"
dpkg-deb --field "$package" Package Version Architecture Depends Recommends
