# Sourced by the screenshot scripts after `cd` to the project: re-runs the script on a virtual X
# server (Xvfb 1280x1024) unless it runs on one already, gives it throw-away settings, data and
# runtime folders ($work), starts openbox, and offers start_server, which starts the stand-in
# server over BUILD_DIR's demo data on free ports and sets $port and $server. The server, the
# window manager and $program (when the script sets it) are stopped at the end.
BUILD_DIR=${BUILD_DIR:-build}
if [ -z "${ZABKO_IN_XVFB:-}" ]; then
  export ZABKO_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME/Kestrani" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
server="" wm="" program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  kill $server $wm 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
openbox > /dev/null 2>&1 &
wm=$!

# The stand-in server on four free ports from PORT up: it lists its servers once all of them
# take connections, and ends at once when a port is taken, when another is tried.
start_server() {
  local attempt
  for attempt in 1 2 3 4 5; do
    port=${ZABKO_SCREENSHOT_PORT:-$((20000 + RANDOM % 20000))}
    "$BUILD_DIR/devserver/zabko-devserver" --port "$port" --data "$BUILD_DIR/data" > "$work/server.log" 2>&1 &
    server=$!
    until grep -qs '^default ' "$work/server.log" || ! kill -0 "$server" 2>/dev/null; do sleep 0.05; done
    kill -0 "$server" 2>/dev/null && return 0
    wait "$server" || true
    server=""
  done
  cat "$work/server.log" >&2
  echo "$(basename "$0"): the stand-in server did not start" >&2
  exit 1
}
