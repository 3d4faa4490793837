#!/usr/bin/env bash
# Pictures of every tab on the sample complex, for the README's gallery (docs/screenshots).
# Runs under Xvfb where it is installed, with the offscreen platform otherwise.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
bin="$build/bin"
out="$top/docs/screenshots"

. "$top/scripts/sample-copy.sh"
work=$(mktemp -d)
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sample_working_copy "$work"
start_sample_server

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
