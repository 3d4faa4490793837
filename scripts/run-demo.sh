#!/usr/bin/env bash
# Opens the editor on a working copy of the bundled sample complex; the repository's copy is never touched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
bin="$build/bin"
work="$top/run"

mkdir -p "$work"
if [ ! -d "$work/complex" ]; then
    cp -r "$top/sample/complex" "$work/complex"
    [ -d "$top/sample/ddt" ] && cp -r "$top/sample/ddt" "$work/ddt"
fi
settings="$work/orvane.ini"
if [ ! -f "$settings" ]; then
    sed -e "s|@WORK@|$work|g" "$top/sample/orvane.ini.in" > "$settings"
fi
export ORVANE_SETTINGS="$settings"
export ORVANE_CONFIG_DIR="$work/complex"

server_pid=""
if [ -x "$bin/orvane-demdec-server" ] && [ -f "$top/sample/demdec/catalogue.xml" ]; then
    "$bin/orvane-demdec-server" --catalogue "$top/sample/demdec/catalogue.xml" --port 11310 --address 127.0.0.1 &
    server_pid=$!
    trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true' EXIT
fi

if [ -x "$bin/Orvane" ]; then
    echo "Editing the working copy $work/complex (settings: $settings)"
    "$bin/Orvane"
else
    echo "Built into $bin; the editor is not built yet."
fi
