#!/usr/bin/env bash
# Checks the installed system on a finished build folder (CI runs it after `make test`):
# the Debian package is made and lintian finds no error in it; the tree installed into a
# temporary prefix runs from there: its programs answer --help and --version and take no
# library or plugin from the build folder, the editor opens offscreen on the sample complex
# with every plugin from the installed plugin folder, one tab each, and orvane-check passes it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac

fail() { echo "check-install: $*" >&2; exit 1; }
step() { echo "== $*"; }

work=$(mktemp -d)
editor_pid=""
server_pid=""
cleanup() {
    [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step "package"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$build"/package/*.deb)
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
root="$work/root"
dpkg-deb --extract "$deb" "$root"
unit="$root/lib/systemd/system/orvane-demdec-server.service"
conf="$root/etc/orvane/demdec-server.conf"
for file in "$unit" "$conf" "$root/usr/share/applications/orvane.desktop"; do
    [ -f "$file" ] || fail "the package holds no ${file#"$root"}"
done
for program in "$root"/usr/bin/*; do
    [ -f "$root/usr/share/man/man1/$(basename "$program").1.gz" ] || fail "no man page for $program"
done
# What the unit and the server's settings name is in the package.
for path in $(grep -hv '^#' "$unit" "$conf" | grep -oE '(^|[= ])/[^ ]+' | sed 's/^[= ]//'); do
    [ -e "$root$path" ] || fail "$path, named by the service, is not in the package"
done
# The service stays off: no maintainer script (CPack's ldconfig calls are all there is) touches it.
dpkg-deb --control "$deb" "$work/control"
! grep -lE 'systemctl|deb-systemd|orvane-demdec-server' "$work"/control/*inst "$work"/control/*rm 2>/dev/null \
    || fail "a maintainer script of the package handles the service"

step "lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"

step "install into a temporary prefix"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
cmake --install "$build" --prefix "$prefix" --component install-check >> "$work/install.log"
bin="$prefix/bin"
plugins=$(cd "$prefix" && ls -d lib*/orvane/plugins)
plugins="$prefix/$plugins"

# Nothing installed may lean on the build folder.
while read -r file; do
    runpath=$(readelf -d "$file" 2>/dev/null | grep -E 'R(UN)?PATH' || true)
    [[ "$runpath" != *"$build"* ]] || fail "$file has a run path into the build folder: $runpath"
done < <(find "$prefix" -type f \( -name '*.so' -o -perm -u+x \))

for program in Sulvane orvane-check orvane-demdec-server; do
    "$bin/$program" --version | grep -q "[0-9]" || fail "$program --version"
    "$bin/$program" --help > /dev/null || fail "$program --help"
done

# Every plugin of the build, and nothing else, in the installed plugin folder.
built=$(cd "$build/bin" && ls orvane-*.so | LC_ALL=C sort)
installed=$(cd "$plugins" && ls | LC_ALL=C sort)
[ "$built" = "$installed" ] || fail "installed plugins differ from the built ones: $installed"
[ -z "$(ls "$bin"/*.so 2>/dev/null)" ] || fail "libraries in $bin"

step "the installed editor on the sample complex"
. "$top/scripts/sample-copy.sh"
sample_working_copy "$work"
# The installed server on the installed catalogue, on a free port that the settings then name.
"$bin/orvane-demdec-server" --catalogue "$prefix/share/orvane/demdec/catalogue.xml" --port 0 \
    > "$work/server.log" &
server_pid=$!
for _ in $(seq 100); do grep -q '^listening' "$work/server.log" && break; sleep 0.1; done
port=$(awk '/^listening/ { print $3 }' "$work/server.log")
[ -n "$port" ] || fail "the installed server did not start: $(cat "$work/server.log")"
sed -i -e "s/^Port=.*/Port=$port/" "$ORVANE_SETTINGS"

export QT_QPA_PLATFORM=offscreen
# The editor itself: it loads every installed plugin (Qt's plugin log names each library loaded
# and the shell's log each one skipped) and keeps running.
QT_LOGGING_RULES="orvane.plugins.debug=true;qt.core.library.debug=true" "$bin/Orvane" > "$work/editor.log" 2>&1 &
editor_pid=$!
not_loaded() {
    for plugin in $installed; do
        grep -qF "\"$plugins/$plugin\" loaded library" "$work/editor.log" || { echo "$plugin"; return; }
    done
}
for _ in $(seq 300); do
    [ -z "$(not_loaded)" ] && break
    kill -0 "$editor_pid" 2>/dev/null || break
    sleep 0.1
done
missing=$(not_loaded)
[ -z "$missing" ] || { cat "$work/editor.log"; fail "the editor did not load $missing"; }
! grep -q skipped "$work/editor.log" || { cat "$work/editor.log"; fail "the editor skipped a library"; }
sleep 1
kill -0 "$editor_pid" 2>/dev/null || { cat "$work/editor.log"; fail "the editor ended"; }
kill "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
editor_pid=""

# Its window, through the installed screenshots tool (the same window and plugin scan): a tab
# for each plugin, named by its library, in the order of the installed plugin folder.
"$bin/orvane-screenshots" "$work/tabs" > "$work/tabs.log" || fail "orvane-screenshots failed"
tabs=$(xargs -n1 basename -s .png < "$work/tabs.log")
[ "$tabs" = "$(echo "$installed" | sed 's/\.so$//')" ] || fail "tabs: $tabs"
echo "$(echo "$tabs" | wc -l) tabs: $(echo $tabs)"

step "the installed orvane-check on the sample complex"
"$bin/orvane-check" "$ORVANE_CONFIG_DIR" || fail "orvane-check found problems in the sample complex"
echo "check-install: passed"
