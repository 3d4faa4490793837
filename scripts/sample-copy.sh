# Sourced by the scripts that open the editor on the sample complex; expects $top and $bin.

# Makes a working copy of the sample complex in the folder (once: an existing copy is kept) and
# points the editor's settings and configuration directory at it.
sample_working_copy() {
    local work=$1
    mkdir -p "$work"
    if [ ! -d "$work/complex" ]; then
        cp -r "$top/sample/complex" "$work/complex"
        [ -d "$top/sample/ddt" ] && cp -r "$top/sample/ddt" "$work/ddt"
    fi
    [ -f "$work/orvane.ini" ] || sed -e "s|@WORK@|$work|g" "$top/sample/orvane.ini.in" > "$work/orvane.ini"
    export ORVANE_SETTINGS="$work/orvane.ini"
    export ORVANE_CONFIG_DIR="$work/complex"
}

# Starts the demodulation/decoding server on the sample catalogue at 127.0.0.1:11310, where the
# sample's settings look for it; its pid in $server_pid (empty when it is not built).
server_pid=""
start_sample_server() {
    if [ -x "$bin/orvane-demdec-server" ] && [ -f "$top/sample/demdec/catalogue.xml" ]; then
        "$bin/orvane-demdec-server" --catalogue "$top/sample/demdec/catalogue.xml" --port 11310 --address 127.0.0.1 &
        server_pid=$!
    fi
}
