#!/usr/bin/env bash
# Builds the Debian package: a Release build, never sanitized, with Debian's
# hardening flags in its own folder, then cpack and lintian (which fails the
# script on errors). Prints the path of the .deb last.
#
#   tools/package.sh     build folder: build-package (ONDRIX_PACKAGE_BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
ondrix_install_packages

build="${ONDRIX_PACKAGE_BUILD_DIR:-build-package}"
# The flags Debian builds its own packages with; CMake reads no CPPFLAGS.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DONDRIX_SANITIZE=OFF -DONDRIX_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build"

out=$(realpath -m "$build/package")
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
lintian "$deb" >&2
echo "$deb"
