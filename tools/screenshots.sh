#!/usr/bin/env bash
# Remakes the README screenshots in docs/screenshots/: builds the project,
# then runs tools/screenshots (the client's windows and plug-ins against a
# simulated detector it serves itself) under Xvfb. English, fixed window
# sizes and a throw-away home folder, so every run pictures the same views
# and the user's own settings and storage are never read or changed.
# Takes about six minutes, most of it live data being drawn.
#
#   tools/screenshots.sh [FOLDER]    default: docs/screenshots
set -euo pipefail
caller_dir=$PWD
cd "$(dirname "$0")/.."

out=$(cd "$caller_dir" && realpath -m -- "${1:-$PWD/docs/screenshots}")

source tools/setup.sh
ondrix_install_packages
ondrix_build

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# Nothing of the session's desktop: its own screen, language and home.
unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/run"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=en QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
mkdir -m 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s "-screen 0 1920x1200x24 -dpi 96" "$BIN_DIR/ondrixshots" "$out"
ls -l "$out"/*.png
