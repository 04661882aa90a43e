#!/usr/bin/env bash
# Starts the real program under a virtual display, types a question and a correct
# answer with real key events, submits with Ctrl+Enter and finds the verdict on screen,
# then submits a wrong answer and finds that verdict too. The screenshot of the window
# is kept in the output folder.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"

# Every setting the program reads or writes, per user and machine-wide, lives in a
# temporary folder, so the run is the same for root and an ordinary account and leaves
# the machine as it found it.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_CONFIG_DIRS=$home/system XDG_RUNTIME_DIR=$home/runtime \
       XDG_DATA_HOME=$home/data
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# A user data directory, the first-run mark and this version's release notes are settled
# already, as after a first start.
edition="Tavlix Simplified Chinese Edition"
version="1.5"
mkdir -p "$XDG_CONFIG_HOME/Brelmor/$edition" "$XDG_CONFIG_DIRS/Brelmor/$edition"
printf '[User%%20Data%%20Directory]\nDefault=%s\n' "$home/userdata" > "$XDG_CONFIG_HOME/Brelmor/$edition.conf"
printf '[App]\nRelease%%20Note%%20%s=1\n' "$version" > "$XDG_CONFIG_HOME/Brelmor/$edition/$version.conf"
printf '[App]\nFirst%%20Run=1\n' > "$XDG_CONFIG_DIRS/Brelmor/$edition/$version.conf"

# The verdicts of the edition built by default, Simplified Chinese.
right_verdict="答对了！"
wrong_verdict="你输了！"

# One session: exits 2 when the window never showed; leaves the comments pane after
# each answer in right.txt and wrong.txt (empty when the typed keys did not arrive).
session() {
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$out" <<'SESSION'
set -euo pipefail
program=$1
out=$2
"$program" > "$out/program.log" 2>&1 &
pid=$!
for _ in $(seq 50); do
  window=$(xdotool search --name '^Tavlix$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window"; kill $pid; exit 2; }
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
# Reads the comments pane back as a user would copy it: its mnemonic, select all, copy.
read_pane() {
  printf '' | xclip -selection clipboard
  xdotool key alt+c ctrl+a ctrl+c
  sleep 0.5
  xclip -selection clipboard -o > "$1" 2>/dev/null || true
}
for n in 3 3 8 8; do xdotool type --delay 50 "$n"; xdotool key Tab; done
xdotool type --delay 30 '8/(3-8/3)'
xdotool key ctrl+Return
sleep 1
import -window root "$out/smoke.png"
read_pane "$out/right.txt"
# Back to the answer box: the question's mnemonic, then past the four question boxes.
xdotool key alt+q Tab Tab Tab Tab ctrl+a
xdotool type --delay 30 '3*8+8-3'
xdotool key ctrl+Return
sleep 1
read_pane "$out/wrong.txt"
kill $pid
wait $pid 2>/dev/null || true
SESSION
}

# A loaded machine may be slow to show the window or drop the first key events of a
# fresh display: try again then, and only then. A verdict read back is final.
for attempt in 1 2 3; do
  rm -f "$out/right.txt" "$out/wrong.txt" "$out/smoke.png"
  status=0
  session || status=$?
  right=$(cat "$out/right.txt" 2>/dev/null || true)
  wrong=$(cat "$out/wrong.txt" 2>/dev/null || true)
  if [ -n "$right" ] && { [ "$right" != "$right_verdict" ] || [ -n "$wrong" ]; }; then break; fi
  echo "attempt $attempt: window not ready (session status $status, read '$right' and '$wrong')"
done

[ -s "$out/smoke.png" ] || { echo "no screenshot"; echo "0 passed, 2 failed"; exit 1; }
echo "screenshot: $out/smoke.png"
passed=0
failed=0
check() {
  if [ "$2" = "$3" ]; then
    echo "PASS $1: '$2'"
    passed=$((passed + 1))
  else
    echo "FAIL $1: '$2', expected '$3'"
    failed=$((failed + 1))
  fi
}
check "correct answer verdict" "$right" "$right_verdict"
check "wrong answer verdict" "$wrong" "$wrong_verdict"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
