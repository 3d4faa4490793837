#!/usr/bin/env bash
# Opens the editor on a working copy of the bundled sample complex; the repository's copy is never touched.
# The copy lies outside the checkout (ORVANE_RUN_DIR, by default under the user's data folder), so
# that it keeps a history of its own: a directory inside another git work tree gets none.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
bin="$build/bin"
work=${ORVANE_RUN_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/Orvane/run}

. "$top/scripts/sample-copy.sh"
sample_working_copy "$work"
start_sample_server
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true' EXIT

if [ -x "$bin/Orvane" ]; then
    echo "Editing the working copy $work/complex (settings: $ORVANE_SETTINGS; its history: $bin/orvane-history log)"
    "$bin/Orvane"
else
    echo "Built into $bin; the editor is not built yet."
fi
