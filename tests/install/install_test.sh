#!/usr/bin/env bash
# Installs Tavlix into a temporary prefix and uses it from there as a player would:
# the launchers on the PATH, tavlix-cli, the program itself without a display until its
# main window answers over the instance channel, the menu entry and the metainfo
# through Debian's validators, the icons and the manual page.
#   install_test.sh BUILD_DIR INSTANCE_PROBE VERSION
set -euo pipefail
build=$1
probe=$2
version=$3
app_id=com.brelmor.Tavlix

work=$(mktemp -d)
program_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

passed=0
failed=0
pass() { echo "PASS $*"; passed=$((passed + 1)); }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }
check() {  # NAME ACTUAL EXPECTED
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: '$2', expected '$3'"; fi
}

# From here on nothing runs from the build tree.
cd "$work"
export PATH="$prefix/bin:$PATH"

for program in tavlix tavlix-cli; do
  check "$program on the PATH" "$(command -v "$program")" "$prefix/bin/$program"
  check "$program runs from lib/tavlix" "$(readlink -f "$prefix/bin/$program")" "$prefix/lib/tavlix/$program"
done
check "installed tavlix-cli solves" "$(tavlix-cli solve 3 3 8 8)" "8/(3-8/3)"
# The page of the complete list needs the template in doc/ beside the real tavlix-cli.
tavlix-cli list --max 10 --format html > "$work/list.htm" 2>&1 && grep -q "<html" "$work/list.htm" &&
  pass "installed tavlix-cli finds its doc/" || fail "installed tavlix-cli list: $(head -c 300 "$work/list.htm")"

# Debian's validators: an error fails them; hints and pedantic notes do not.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if report=$(desktop-file-validate "$desktop" 2>&1) && ! grep -q "error:" <<<"$report"; then
  pass "desktop-file-validate"
else
  fail "desktop-file-validate: $report"
fi
if report=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
  pass "appstreamcli validate"
else
  fail "appstreamcli validate: $report"
fi
check "menu entry starts the launcher" "$(sed -n 's/^Exec=//p' "$desktop")" "tavlix"
check "menu entry names the icon" "$(sed -n 's/^Icon=//p' "$desktop")" "$app_id"
# A menu shows the entry under each main category it names: it names one.
check "menu entry has one main category" "$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' |
  grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')" 1
for key in Name GenericName Comment; do
  for language in "" zh_CN zh_TW; do
    entry=$key${language:+[$language]}
    sed -n 's/=..*//p' "$desktop" | grep -qxF -- "$entry" && pass "menu entry has $entry" ||
      fail "menu entry lacks $entry"
  done
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" &&
  pass "metainfo launches the menu entry" || fail "metainfo does not name $app_id.desktop"

icons=$prefix/share/icons/hicolor
grep -q "<svg" "$icons/scalable/apps/$app_id.svg" && pass "scalable icon" || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/$app_id.png
  check "icon ${size}x$size" "$(identify -format '%m %wx%h' "$png" 2>&1)" "PNG ${size}x$size"
done

# The manual pages render without warnings; tavlix-cli's documents every command with
# each of its options, as the program's --help lists them.
for program in tavlix tavlix-cli; do
  page=$prefix/share/man/man1/$program.1.gz
  if zcat "$page" | groff -man -Tascii -ww -P-c -P-b -P-u > "$work/page.txt" 2> "$work/page.warnings" &&
     [ ! -s "$work/page.warnings" ] && grep -q "^NAME" "$work/page.txt"; then
    pass "manual page of $program renders"
  else
    fail "manual page of $program: $(cat "$work/page.warnings")"
  fi
done
page=$prefix/share/man/man1/tavlix-cli.1.gz
# On the page as a reader sees it (lines wide enough that no text is broken), each
# option reads as --help shows it: the option with all its arguments, and its text
# starting at the one column where every option's text starts.
zcat "$page" | groff -man -Tascii -rLL=300n -P-c -P-b -P-u > "$work/page-wide.txt" 2> /dev/null
text_column() {  # HEAD TEXT: the column where TEXT starts after the option HEAD
  awk -v head="$1" -v text="$2" '
    function squeezed(s) { gsub(/  +/, " ", s); return s }
    function report(from,   start) {
      start = from + match(substr($0, from), /[^ ]/) - 1
      if (index(squeezed(substr($0, start)), squeezed(text)) == 1) { print start; exit }
    }
    waiting { waiting = 0; report(1) }
    { tag = match($0, /[^ ]/) }
    tag && index(substr($0, tag), head) == 1 {
      rest = substr($0, tag + length(head))
      if (rest ~ /^ *$/) waiting = 1
      else if (rest ~ /^ /) report(tag + length(head))
    }' "$work/page-wide.txt"
}
commands=$(tavlix-cli --help | awk '/^Commands:$/ { listed = 1; next } listed && /^$/ { exit } listed { print $1 }')
[ -n "$commands" ] || fail "tavlix-cli --help lists no commands"
page_column=
for command in $commands; do
  section=$(zcat "$page" | awk -v command="$command" '$0 == ".SS " command { inside = 1; next } /^\.S[SH]/ { inside = 0 } inside')
  [ -n "$section" ] || { fail "manual page has no section for $command"; continue; }
  missing=
  while IFS=$'\t' read -r head text; do
    option=${head%% *}
    grep -qF "\\fB${option//-/\\-}\\fR" <<<"$section" || { missing+=" $option"; continue; }
    column=$(text_column "$head" "$text")
    page_column=${page_column:-$column}
    [ -n "$column" ] && [ "$column" = "$page_column" ] ||
      missing+=" '$head' with its text at column ${column:-none}, not $page_column"
  done < <(tavlix-cli "$command" --help | awk '/^  -/ {
    line = substr($0, 3); text = ""
    if (match(line, /  +/)) { text = substr(line, RSTART + RLENGTH); line = substr(line, 1, RSTART - 1) }
    print line "\t" text }')
  [ -z "$missing" ] && pass "manual page documents $command" || fail "manual page lacks $command$missing"
done

# The program, started through its launcher with every setting in temporary folders:
# by root, who could write to the installation, then by an ordinary account that
# cannot (a test not run by root is that account, and the installation is made
# read-only). The user data directory and this version's release notes are settled,
# as after a first start; the first-run mark comes from the installation. Whoever
# runs it, the program writes into the user's own folders, never into the installation.
export QT_QPA_PLATFORM=offscreen
# The probe is copied out of the build tree, which that account may not reach.
cp "$probe" "$work/probe"
probe=$work/probe
installed_files=$(find "$prefix" | sort)
settle_home() {  # HOME
  export HOME=$1 XDG_CONFIG_HOME=$1/config XDG_CONFIG_DIRS=$1/system XDG_DATA_HOME=$1/data \
         XDG_RUNTIME_DIR=$1/runtime TMPDIR=$1/tmp
  mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR" "$XDG_CONFIG_DIRS"
  chmod 700 "$XDG_RUNTIME_DIR"
  for edition in "Tavlix Simplified Chinese Edition" "Tavlix Standard Edition"; do
    mkdir -p "$XDG_CONFIG_HOME/Brelmor/$edition"
    printf '[User%%20Data%%20Directory]\nDefault=%s\n' "$HOME/userdata" > "$XDG_CONFIG_HOME/Brelmor/$edition.conf"
    printf '[App]\nRelease%%20Note%%20%s=1\n' "$version" > "$XDG_CONFIG_HOME/Brelmor/$edition/$version.conf"
  done
}
start_and_close() {  # WHO [COMMAND PREFIX...]: runs the program as the prefix makes it run
  local who=$1 title= status=0 deadline
  shift
  "$@" tavlix > "$work/$who.log" 2>&1 &
  program_pid=$!
  deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    title=$("$@" "$probe" title Brelmor_Tavlix 2>/dev/null || true)
    case "$title" in "" | "<none>") sleep 0.2 ;; *) break ;; esac
  done
  check "$who: installed program's window is up" "$title" "Tavlix"
  check "$who: the program running is the installed one" "$(readlink "/proc/$program_pid/exe" 2>&1)" \
    "$prefix/lib/tavlix/tavlix"
  [ "$title" != "Tavlix" ] || "$@" "$probe" close Brelmor_Tavlix 1 2 > /dev/null || true
  deadline=$((SECONDS + 10))
  while kill -0 "$program_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" || status=$?
  program_pid=
  check "$who: installed program closes when asked" "$status" "0"
  [ -f "$XDG_DATA_HOME/Brelmor/Tavlix/config/music.ini" ] && pass "$who: music.ini in the user's data folder" ||
    fail "$who: music.ini not in the user's data folder"
  check "$who: nothing written into the installation" \
    "$(comm -13 <(echo "$installed_files") <(find "$prefix" | sort))" ""
  [ "$failed" -eq 0 ] || { echo "program output:"; cat "$work/$who.log"; }
}
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$work"
  settle_home "$work/root"
  start_and_close root
  settle_home "$work/home"
  chown -R nobody: "$HOME"
  start_and_close player setpriv --reuid=nobody --regid=nogroup --clear-groups
else
  chmod -R a-w "$prefix"
  settle_home "$work/home"
  start_and_close player
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
