#!/usr/bin/env bash
# Starts the real program under a virtual display and photographs its main window: the
# shipped image stretched behind the controls at start, then tiled and centred after
# choosing those modes in the Background dialog (UI > Background..., its radio's
# mnemonic, Return). Each photograph is held against the window as each mode would
# paint it from images/back.bmp: the mode shown must match its own picture best, pixel
# for pixel wherever no control covers the background. The photographs and the pictures
# they were held against stay in the output folder.
set -euo pipefail
program=$1
out=$2
lib=$(cd "$(dirname "$0")" && pwd)/window.sh
mkdir -p "$out"
image=$(dirname "$program")/images/back.bmp
[ -f "$image" ] || { echo "FAIL no $image beside the program"; exit 1; }

# Settled as after a first start (window.sh), with no background setting at all: the
# program's own defaults are photographed.
source "$lib"
settle_home
trap 'rm -rf "$home"' EXIT

session() {
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$out" "$lib" <<'SESSION'
set -euo pipefail
program=$1
out=$2
lib=$3
source "$lib"
start_program "$program" "$out/background-program.log"
xdotool getwindowgeometry --shell "$window" > "$out/geometry.txt"
shoot() {
  sleep 0.7
  import -window root "$out/background-$1.png"
}
# UI > Background... (界面(&U), 背景(&B)...), a display mode by its mnemonic, then OK.
choose_mode() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key alt+u
  sleep 0.5
  xdotool key b
  dialog=$(find_window '^背景$' 25)
  [ -n "$dialog" ] || { echo "no Background dialog"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key "alt+$1"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 25); do
    xdotool search --name '^背景$' > /dev/null 2>&1 || break
    sleep 0.2
  done
}
shoot stretch
choose_mode t && shoot tile
choose_mode c && shoot center
stop_program
SESSION
}

for attempt in 1 2 3; do
  rm -f "$out"/background-*.png "$out/geometry.txt"
  status=0
  session || status=$?
  [ -s "$out/background-center.png" ] && break
  echo "attempt $attempt: not every mode photographed (session status $status)"
done

for mode in stretch tile center; do
  [ -s "$out/background-$mode.png" ] || { echo "FAIL no photograph of $mode"; exit 1; }
done
# shellcheck disable=SC1091
source "$out/geometry.txt"
w=$WIDTH
h=$HEIGHT
read -r bw bh < <(identify -format '%w %h\n' "$image")
pink='srgb(255,128,192)'

# The window's part of each photograph, and the window as each mode paints it.
for mode in stretch tile center; do
  convert "$out/background-$mode.png" -crop "${w}x${h}+${X}+${Y}" +repage "$out/window-$mode.png"
done
convert "$image" -sample "${w}x${h}!" "$out/expected-stretch.png"
convert -size "${w}x${h}" "tile:$image" "$out/expected-tile.png"
convert -size "${w}x${h}" "xc:$pink" "$image" -geometry "+$(((w - bw) / 2))+$(((h - bh) / 2))" -composite \
  "$out/expected-center.png"

pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }
# Pixels that differ, by more than a rounding of the stretch; the controls differ always.
differing() { { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d\n", $1 }'; }

for mode in stretch tile center; do
  best=
  best_count=
  for picture in stretch tile center; do
    count=$(differing "$out/window-$mode.png" "$out/expected-$picture.png")
    echo "$mode photographed against the $picture picture: $count pixels differ"
    if [ -z "$best_count" ] || [ "$count" -lt "$best_count" ]; then
      best=$picture
      best_count=$count
    fi
  done
  check "$mode mode matches its own picture best" "$best" "$mode"
done

# The corners of the bottom margin, where no control is: the colour when centred (the
# shipped picture is smaller than the window), the picture in the other modes.
corners=("2 $((h - 3))" "$((w - 3)) $((h - 3))")
for corner in "${corners[@]}"; do
  read -r x y <<< "$corner"
  check "centred: ($x, $y) as the centred picture has it" "$(pixel "$out/window-center.png" "$x" "$y")" \
    "$(pixel "$out/expected-center.png" "$x" "$y")"
  check "tiled: the image's pixel at ($x, $y)" "$(pixel "$out/window-tile.png" "$x" "$y")" \
    "$(pixel "$image" $((x % bw)) $((y % bh)))"
  stretched=$(pixel "$out/window-stretch.png" "$x" "$y")
  [ "$stretched" != "$pink" ] && stretched=image
  check "stretched: image at ($x, $y)" "$stretched" image
done
report_checks
