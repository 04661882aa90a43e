#!/usr/bin/env bash
# Starts the real program under a virtual display with a year of generated practice
# (100,000 answers) in its history, opens Tools > Statistics with the keyboard and keeps
# a screenshot in the output folder. The charts must have been drawn: the band of the
# window that holds them shows many colours, and coloured ones (the series), where an
# empty chart would show only the greys of its axes and texts.
#
#   statistics_screenshot.sh PROGRAM HISTORY_GENERATOR OUTPUT_FOLDER
set -euo pipefail
program=$1
generator=$2
out=$3
lib=$(cd "$(dirname "$0")" && pwd)/window.sh
mkdir -p "$out"

# Settled as after a first start (window.sh).
source "$lib"
settle_home
trap 'rm -rf "$home"' EXIT

"$generator" "$home/userdata/history.sqlite3" "$(date +%s)"

# One session: leaves statistics.png and the window's geometry ("X Y WIDTH HEIGHT") in
# the output folder, or nothing when the window never showed.
session() {
xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$program" "$out" "$lib" <<'SESSION'
set -euo pipefail
program=$1
out=$2
lib=$3
source "$lib"
start_program "$program" "$out/statistics-program.log"
# Tools, then its entry "统计(&S)...".
xdotool key alt+t
sleep 0.5
xdotool key s
statistics=$(find_window '^统计$' 50)
if [ -n "$statistics" ]; then
  # Time for the charts to be laid out and painted.
  sleep 2
  import -window root "$out/statistics.png"
  xdotool getwindowgeometry "$statistics" |
    awk '/Position/ { split($2, at, ","); x = at[1]; y = at[2] }
         /Geometry/ { split($2, size, "x"); print x, y, size[1], size[2] }' > "$out/statistics-window.txt"
fi
stop_program
SESSION
}

for attempt in 1 2 3; do
  rm -f "$out/statistics.png" "$out/statistics-window.txt"
  status=0
  session || status=$?
  [ -s "$out/statistics.png" ] && [ -s "$out/statistics-window.txt" ] && break
  echo "attempt $attempt: no Statistics window (session status $status)"
done
[ -s "$out/statistics.png" ] || { echo "FAIL no screenshot of the Statistics window"; exit 1; }
echo "screenshot: $out/statistics.png"

# The charts lie between the figures at the top and the list of questions: the band from
# 12% to 55% of the window's height.
read -r x y width height < "$out/statistics-window.txt"
band_top=$((y + height * 12 / 100))
band_height=$((height * 43 / 100))
crop="${width}x${band_height}+${x}+${band_top}"
convert "$out/statistics.png" -crop "$crop" +repage "$out/statistics-charts.png"
colours=$(identify -format '%k' "$out/statistics-charts.png")
# The share of clearly coloured pixels: saturation above 40% in HSL.
coloured=$(convert "$out/statistics-charts.png" -colorspace HSL -channel G -separate +channel \
             -threshold 40% -format '%[fx:mean]' info:)
echo "chart band $crop: $colours colours, coloured share $coloured"
check "the chart band has many colours ($colours > 100)" "$([ "$colours" -gt 100 ] && echo yes || echo no)" yes
check "the series are drawn in colour ($coloured > 0.005)" \
  "$(awk -v c="$coloured" 'BEGIN { print (c > 0.005 ? "yes" : "no") }')" yes
report_checks
