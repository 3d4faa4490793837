#!/usr/bin/env bash
# Opens the editor on a working copy of the bundled sample complex; the repository's copy is never touched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
bin="$build/bin"
work="$top/run"

. "$top/scripts/sample-copy.sh"
sample_working_copy "$work"
start_sample_server
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true' EXIT

if [ -x "$bin/Orvane" ]; then
    echo "Editing the working copy $work/complex (settings: $ORVANE_SETTINGS)"
    "$bin/Orvane"
else
    echo "Built into $bin; the editor is not built yet."
fi
