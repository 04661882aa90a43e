# Sourced by the tests that drive the real program: settle_home by the test itself,
# the rest by each session inside its virtual display.

# Puts every setting the program reads or writes, per user and machine-wide, into a new
# temporary folder $home (the caller removes it), so a run is the same for root and an
# ordinary account and leaves the machine as it found it. A user data directory, the
# first-run mark and this version's release notes are settled already, as after a first
# start; $user_settings is the file of this version's per-user settings, for a test to
# add to.
settle_home() {
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/config XDG_CONFIG_DIRS=$home/system XDG_RUNTIME_DIR=$home/runtime \
         XDG_DATA_HOME=$home/data
  mkdir -p "$XDG_RUNTIME_DIR" "$home/userdata" && chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  local edition="Tavlix Simplified Chinese Edition" version="1.5"
  mkdir -p "$XDG_CONFIG_HOME/Brelmor/$edition" "$XDG_CONFIG_DIRS/Brelmor/$edition"
  printf '[User%%20Data%%20Directory]\nDefault=%s\n' "$home/userdata" > "$XDG_CONFIG_HOME/Brelmor/$edition.conf"
  user_settings=$XDG_CONFIG_HOME/Brelmor/$edition/$version.conf
  printf '[App]\nRelease%%20Note%%20%s=1\n' "$version" > "$user_settings"
  printf '[App]\nFirst%%20Run=1\n' > "$XDG_CONFIG_DIRS/Brelmor/$edition/$version.conf"
}

# A Training Game plan kept from an earlier start, in $user_settings: the solvable
# questions from 3 3 8 8 on, in order, five of them, untimed.
store_training_game_plan() {
  {
    printf '[Training%%20Game]\nFull%%20Range=0\nData%%20Range%%20Start=1\nStart%%201=3\nStart%%202=3\n'
    printf 'Start%%203=8\nStart%%204=8\nRandomly=0\nAscending=1\nQuestion%%20Count=5\nNo%%20Solution=0\nTime=0\n'
  } >> "$user_settings"
}

# One check of a test's results: name, what was found, what was expected.
check() {
  if [ "$2" = "$3" ]; then
    echo "PASS $1: '$2'"
    passed=$((${passed:-0} + 1))
  else
    echo "FAIL $1: '$2', expected '$3'"
    failed=$((${failed:-0} + 1))
  fi
}

# The count of the checks made; fails when any failed.
report_checks() {
  echo "${passed:-0} passed, ${failed:-0} failed"
  [ "${failed:-0}" -eq 0 ]
}

# Prints the id of the first window whose title matches the pattern, looking every 0.2 s
# up to tries times; prints nothing when none shows.
find_window() {
  local found=
  for _ in $(seq "$2"); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$found" ] && break
    sleep 0.2
  done
  printf '%s' "$found"
}

# Starts the program, its output in the log file, and waits for its main window: sets pid
# and window. Exits the session with 2 when no window shows.
start_program() {
  "$1" > "$2" 2>&1 &
  pid=$!
  window=$(find_window '^Tavlix$' 50)
  [ -n "$window" ] || { echo "no window"; kill "$pid" 2> /dev/null || true; exit 2; }
  sleep 0.5
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

stop_program() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
