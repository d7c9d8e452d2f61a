#!/usr/bin/env bash
# Builds the project and starts the client live with the simulated detector:
# the simulator serves a pseudo-terminal, the client's driver finds it through
# RZ450_PORT. Without a display the client runs under Xvfb.
#
#   ./run.sh                     the client
#   ./run.sh --screenshot FILE   saves a PNG of the main window once live
#                                records have been drawn, then exits
#   ./run.sh --server            the Ondrix Server shares the simulated detector
#                                on this computer, and the client uses it
#                                through localhost
#   ./run.sh --monitor [ARGS]    the console monitor instead (--help lists ARGS)
set -euo pipefail
caller_dir=$PWD
cd "$(dirname "$0")"

mode=client
screenshot=""
while [ $# -gt 0 ]; do
    case "$1" in
        --monitor) mode=monitor; shift; break ;;
        --server) mode=server; shift ;;
        --screenshot)
            [ $# -ge 2 ] || { echo "usage: ./run.sh --screenshot FILE"; exit 2; }
            screenshot=$(cd "$caller_dir" && realpath -m -- "$2"); shift 2 ;;
        *) echo "usage: ./run.sh [--server] [--screenshot FILE] | --monitor [ARGS]"; exit 2 ;;
    esac
done

source tools/setup.sh
ondrix_install_packages
ondrix_build

work=$(mktemp -d)
link="$work/ttyRZ450"
"$BIN_DIR/rz450sim" --link "$link" --paced --log 6:3 </dev/null >"$work/sim.log" 2>&1 &
sim=$!
server=""
cleanup() {
    for pid in $server $sim; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "The simulated detector did not start:"; cat "$work/sim.log"; exit 1; }
echo "Simulated detector on $link (Ctrl-C to stop)."
export RZ450_PORT="$link"

if [ "$mode" = monitor ]; then
    # Key 1 steps to the next band, key 0 to the next mode.
    if [ $# -eq 0 ]; then set -- --key 1@4 --key 1@6 --key 0@9 --key 0@13 --key 0@17; fi
    "$BIN_DIR/rz450monitor" "$@"
    exit
fi

client=("$BIN_DIR/OndrixClient")
if [ "$mode" = server ]; then
    # The server owns the detector; the client reaches it over loopback.
    "$BIN_DIR/OndrixServer" 2> >(sed 's/^/[server] /' >&2) &
    server=$!
    sleep 1
    kill -0 "$server" 2>/dev/null || { echo "The Ondrix Server did not start."; exit 1; }
    unset RZ450_PORT
    client+=(--server localhost)
fi
[ -n "$screenshot" ] && client+=(--screenshot "$screenshot")
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the client runs under Xvfb."
    xvfb-run -a -s "-screen 0 1280x1024x24" "${client[@]}"
else
    "${client[@]}"
fi
[ -n "$screenshot" ] && echo "Saved $screenshot"
exit 0
