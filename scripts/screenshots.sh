#!/usr/bin/env bash
# Pictures of every tab on the sample complex, for the README's gallery (docs/screenshots).
# Runs under Xvfb where it is installed, with the offscreen platform otherwise.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
bin="$build/bin"
out="$top/docs/screenshots"

work=$(mktemp -d)
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp -r "$top/sample/complex" "$work/complex"
[ -d "$top/sample/ddt" ] && cp -r "$top/sample/ddt" "$work/ddt"
sed -e "s|@WORK@|$work|g" "$top/sample/orvane.ini.in" > "$work/orvane.ini"
export ORVANE_SETTINGS="$work/orvane.ini"
export ORVANE_CONFIG_DIR="$work/complex"

if [ -x "$bin/orvane-demdec-server" ] && [ -f "$top/sample/demdec/catalogue.xml" ]; then
    "$bin/orvane-demdec-server" --catalogue "$top/sample/demdec/catalogue.xml" --port 11310 --address 127.0.0.1 &
    server_pid=$!
fi

rm -rf "$out"
if command -v xvfb-run > /dev/null; then
    xvfb-run -a -s "-screen 0 1400x900x24" "$bin/orvane-screenshots" "$out"
else
    QT_QPA_PLATFORM=offscreen "$bin/orvane-screenshots" "$out"
fi

# The README's gallery: a picture line for each, between its two markers.
lines=$(for picture in "$out"/*.png; do
    name=$(basename "$picture" .png)
    printf '![%s](docs/screenshots/%s.png)\n\n' "$name" "$name"
done)
awk -v lines="$lines" '
    /^<!-- \/gallery -->/ { print lines; skip = 0 }
    !skip { print }
    /^<!-- gallery:/ { skip = 1 }
' "$top/README.md" > "$work/README.md"
cp "$work/README.md" "$top/README.md"
