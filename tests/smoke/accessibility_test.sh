#!/usr/bin/env bash
# Starts the real program under a virtual display with an accessibility bus, as a
# desktop with a screen reader runs it, and plays it from an accessibility client
# (accessibility_client.py over pyatspi): the question and answer boxes found by their
# names, a question and an answer typed, Ctrl+Enter, the verdict read from the tree and
# announced, no focusable control without a name in the main window or the dialogs it
# opens, and a Training Game whose verdict picture says its verdict.
set -euo pipefail
program=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

source "$here/window.sh"
settle_home
trap 'rm -rf "$home"' EXIT
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
  "verdict": "正确",
  "comment": "答对了！",
  "dialogButtons": ["训练", "世界杯"],
  "gameButton": "训练赛",
  "noButton": "否(N)"
}
NAMES

# The system's Python, which has pyatspi; the session bus, the accessibility bus on it,
# and Qt told to speak to it without waiting for a screen reader to ask. Every wait
# inside is bounded; the whole session too. Exits 2 when the window never showed.
session() {
timeout 150 xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- bash -s "$program" "$out" "$here" <<'SESSION'
set -euo pipefail
program=$1
out=$2
here=$3
source "$here/window.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$out/bus.log" 2>&1 &
bus=$!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
start_program "$program" "$out/program.log"
status=0
timeout 120 /usr/bin/python3 "$here/accessibility_client.py" "$out/names.json" || status=$?
import -window root "$out/accessibility.png" 2>/dev/null || true
stop_program
kill "$bus" 2>/dev/null || true
exit "$status"
SESSION
}

# A loaded machine may fail to start the virtual display or show the window: try again
# then, and only then.
for attempt in 1 2 3; do
  status=0
  session || status=$?
  [ "$status" -ne 2 ] && break
  echo "attempt $attempt: no window"
done
exit "$status"
