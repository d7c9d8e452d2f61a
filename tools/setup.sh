#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs
# (only those missing), then configures and builds into $BUILD_DIR.
# Sourced, not run: the caller gets BUILD_DIR and BIN_DIR.
set -euo pipefail

ONDRIX_PACKAGES=(
    cmake ninja-build g++ clang pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    poppler-utils
    libgl-dev
    xvfb xauth
    dbus-daemon
    dpkg-dev file lintian desktop-file-utils appstream
    libmosquitto-dev mosquitto mosquitto-clients
    libssl-dev
)

ondrix_install_packages() {
    local missing=() pkg
    for pkg in "${ONDRIX_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

ondrix_build() {
    local sanitize="${ONDRIX_SANITIZE:-OFF}"
    BUILD_DIR="${ONDRIX_BUILD_DIR:-build}"
    [ "$sanitize" = "ON" ] && BUILD_DIR="${ONDRIX_BUILD_DIR:-build-asan}"
    cmake -G Ninja -S . -B "$BUILD_DIR" -DONDRIX_SANITIZE="$sanitize" >/dev/null
    cmake --build "$BUILD_DIR"
    BIN_DIR="$BUILD_DIR/bin"
}
