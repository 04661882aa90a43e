#!/usr/bin/env bash
# Starts the real program under a virtual display with an accessibility bus, as a
# desktop with a screen reader runs it, and plays it from an accessibility client
# (accessibility_client.py over pyatspi): the question and answer boxes found by their
# names, a question and an answer typed, Ctrl+Enter, the verdict read from the tree and
# announced, no focusable control without a name in the main window or the dialogs it
# opens, and a Training Game and a World Cup whose verdict pictures say their verdicts.
set -euo pipefail
program=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

# Only a machine without the tools skips the test (exit 77); scripts/install-deps.sh
# installs them all.
launcher=/usr/libexec/at-spi-bus-launcher
missing=$(
  for tool in Xvfb dbus-daemon xdotool; do command -v "$tool" > /dev/null || echo "$tool"; done
  [ -x "$launcher" ] || echo at-spi2-core
  /usr/bin/python3 -c 'import pyatspi' 2> /dev/null || echo python3-pyatspi
)
if [ -n "$missing" ]; then
  echo "SKIP: not installed:" $missing
  exit 77
fi

source "$here/window.sh"
settle_home
# Whatever a session leaves running (the display, the buses, the program) is in the
# process group of its timeout, and ends with the test however the test ends.
group=
end_group() {
  [ -n "$group" ] && kill -- -"$group" 2> /dev/null || return 0
  for _ in $(seq 50); do
    kill -0 -- -"$group" 2> /dev/null || return 0
    sleep 0.1
  done
}
finish() {
  end_group
  rm -rf "$home"
}
trap finish EXIT
trap 'exit 143' TERM INT
store_training_game_plan

# The names of the edition built by default, Simplified Chinese.
cat > "$out/names.json" <<'NAMES'
{
  "title": "Tavlix",
  "questionBoxes": ["题目的第 1 个数", "题目的第 2 个数", "题目的第 3 个数", "题目的第 4 个数"],
  "question": ["3", "3", "8", "8"],
  "answerBox": "我的解法",
  "answer": "8/(3-8/3)",
  "commentsPane": "评语/全部解法",
  "verdictDescription": "本题的判定结果",
  "verdicts": ["正确", "错误"],
  "comment": "答对了！",
  "dialogButtons": ["训练", "世界杯"],
  "gameButton": "训练赛",
  "noButton": "否(N)",
  "yesButton": "是(Y)",
  "worldCupButton": "世界杯"
}
NAMES

# One session: a virtual display, a session bus with the accessibility bus on it, the
# program with Qt told to speak to that bus without waiting for a screen reader to ask,
# and the client in the system's Python, which has pyatspi. It ends within 110 s, its
# client within 90 s; it exits 2 when the display or the window never showed.
session() {
timeout -k 5 110 bash -s "$program" "$out" "$here" "$launcher" <<'SESSION' &
set -euo pipefail
program=$1
out=$2
here=$3
source "$here/window.sh"
# The display server picks a free number itself, so that a test starting beside this
# one cannot take it in between.
rm -f "$out/display" "$out/bus-address"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$out/display" 2> "$out/display.log" &
dbus-daemon --session --nofork --print-address=3 3> "$out/bus-address" 2> "$out/bus.log" &
for _ in $(seq 100); do
  [ -s "$out/display" ] && [ -s "$out/bus-address" ] && break
  sleep 0.1
done
[ -s "$out/display" ] && [ -s "$out/bus-address" ] || { echo "no display or no bus"; exit 2; }
export DISPLAY=:$(cat "$out/display") DBUS_SESSION_BUS_ADDRESS=$(cat "$out/bus-address")
"$4" --launch-immediately >> "$out/bus.log" 2>&1 &
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
start_program "$program" "$out/program.log"
status=0
timeout --foreground 90 /usr/bin/python3 "$here/accessibility_client.py" "$out/names.json" || status=$?
import -window root "$out/accessibility.png" 2> /dev/null || true
stop_program
exit "$status"
SESSION
group=$!
wait "$group"
}

# A loaded machine may fail to start the display or show the window: try once more
# then, and only then.
for attempt in 1 2; do
  status=0
  session || status=$?
  end_group
  [ "$status" -ne 2 ] && break
  echo "attempt $attempt: no window"
done
exit "$status"
