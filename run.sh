#!/usr/bin/env bash
# Builds the project and shows it working with the simulated detector:
# the simulator serves a pseudo-terminal, the monitor watches it through the
# driver plug-in. Extra arguments go to the monitor (try --help).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
ondrix_install_packages
ondrix_build

work=$(mktemp -d)
link="$work/ttyRZ450"
"$BIN_DIR/rz450sim" --link "$link" --paced --log 6:3 </dev/null >"$work/sim.log" 2>&1 &
sim=$!
cleanup() { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "The simulated detector did not start:"; cat "$work/sim.log"; exit 1; }
echo "Simulated detector on $link (Ctrl-C to stop)."

# Key 1 steps to the next band, key 0 to the next mode.
if [ $# -eq 0 ]; then set -- --key 1@4 --key 1@6 --key 0@9 --key 0@13 --key 0@17; fi
RZ450_PORT="$link" "$BIN_DIR/rz450monitor" "$@"
