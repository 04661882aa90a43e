# Sourced by each session of the smoke test, inside its virtual display.

# Starts the program, its output in the log file, and waits for its main window: sets pid
# and window. Exits the session with 2 when no window shows.
start_program() {
  "$1" > "$2" 2>&1 &
  pid=$!
  window=
  for _ in $(seq 50); do
    window=$(xdotool search --name '^Tavlix$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window"; kill "$pid"; exit 2; }
  sleep 0.5
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

stop_program() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
