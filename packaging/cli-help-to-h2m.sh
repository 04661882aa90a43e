#!/bin/sh
# Writes a help2man include file with a COMMANDS section: the --help of every command
# that `tavlix-cli --help` lists, so the manual page says what the program says.
#   cli-help-to-h2m.sh TAVLIX_CLI OUTPUT
set -eu
cli=$1
out=$2

commands=$("$cli" --help | awk '/^Commands:$/ { listed = 1; next } listed && /^$/ { exit } listed { print $1 }')
[ -n "$commands" ] || { echo "$cli --help lists no commands" >&2; exit 1; }

{
  echo "[COMMANDS]"
  for command in $commands; do
    "$cli" "$command" --help | awk -v command="$command" '
      function roff(s) {
        gsub(/\\/, "\\e", s)
        gsub(/-/, "\\-", s)
        if (s ~ /^[.\047]/) s = "\\&" s
        return s
      }
      # The usage block, up to the first empty line, keeps its line breaks; its
      # continuation lines are indented under "Usage: ".
      NR == 1 { print ".SS " command; print ".nf"; sub(/^Usage: /, ""); print roff($0); usage = 1; next }
      usage && /^$/ { print ".fi"; usage = 0; next }
      usage { print roff(substr($0, 8)); next }
      /^$/ { paragraph = 0; option = 0; next }
      # "  --from A B C D  text": an option and its arguments, each after one space,
      # then two or more spaces and its text.
      /^  -/ {
        head = substr($0, 3)
        text = ""
        if (match(head, /  +/)) {
          text = substr(head, RSTART + RLENGTH)
          head = substr(head, 1, RSTART - 1)
        }
        name = head
        arguments = ""
        if (match(head, / /)) {
          name = substr(head, 1, RSTART - 1)
          arguments = " \\fI" roff(substr(head, RSTART + 1)) "\\fR"
        }
        print ".TP"; print "\\fB" roff(name) "\\fR" arguments
        if (text != "") print roff(text)
        option = 1; next
      }
      option { sub(/^ +/, ""); print roff($0); next }
      !paragraph { print ".PP"; paragraph = 1 }
      { print roff($0) }
      END { if (usage) print ".fi" }'
  done
} > "$out.tmp"
mv "$out.tmp" "$out"
