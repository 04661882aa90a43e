#!/usr/bin/env bash
# Builds the Debian package with CPack and looks at it as dpkg, apt and Debian's
# checker would: its name and version, the files it installs, dependencies that are
# real packages, tavlix-cli working from the unpacked files, and lintian's findings.
#   package_test.sh BUILD_DIR EDITION VERSION
set -euo pipefail
build=$1
edition=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }

passed=0
failed=0
pass() { echo "PASS $*"; passed=$((passed + 1)); }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }
check() {  # NAME ACTUAL EXPECTED
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: '$2', expected '$3'"; fi
}

# "SimplifiedChinese" is packaged as tavlix-simplified-chinese.
package=tavlix-$(sed 's/\([a-z]\)\([A-Z]\)/\1-\2/g' <<<"$edition" | tr '[:upper:]' '[:lower:]')
deb=$work/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL no $(basename "$deb") among: $(ls "$work")"; exit 1; }
check "package name" "$(dpkg-deb --field "$deb" Package)" "$package"
check "package version" "$(dpkg-deb --field "$deb" Version)" "$version"
check "provides" "$(dpkg-deb --field "$deb" Provides)" "tavlix"
# The editions install the same files: each takes the other's place.
other=tavlix-standard
[ "$package" != "$other" ] || other=tavlix-simplified-chinese
check "conflicts" "$(dpkg-deb --field "$deb" Conflicts)" "$other"
check "replaces" "$(dpkg-deb --field "$deb" Replaces)" "$other"

contents=$(dpkg-deb --contents "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
for entry in "./usr/bin/tavlix -> ../lib/tavlix/tavlix" "./usr/bin/tavlix-cli -> ../lib/tavlix/tavlix-cli" \
             ./usr/lib/tavlix/tavlix ./usr/lib/tavlix/tavlix-cli \
             ./usr/lib/tavlix/config/defaultmusic.ini ./usr/lib/tavlix/config/installation.ini \
             ./usr/share/applications/com.brelmor.Tavlix.desktop \
             ./usr/share/metainfo/com.brelmor.Tavlix.metainfo.xml \
             ./usr/share/icons/hicolor/scalable/apps/com.brelmor.Tavlix.svg \
             ./usr/share/icons/hicolor/48x48/apps/com.brelmor.Tavlix.png \
             ./usr/share/man/man1/tavlix.1.gz ./usr/share/man/man1/tavlix-cli.1.gz \
             "./usr/share/doc/$package/copyright" "./usr/share/doc/$package/changelog.gz"; do
  grep -qxF "$entry" <<<"$contents" && pass "holds $entry" || fail "lacks $entry"
done

# Every dependency names a package that this machine, which built and linked the
# programs, has installed (one of each set of alternatives): apt finds them all.
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libc6 libqt6widgets6 libqt6svg6 qt6-translations-l10n; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" && pass "depends on $needed" || fail "no $needed in: $depends"
done
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
  group=${group# }
  found=
  for alternative in $(sed 's/([^)]*)//g; s/|/ /g' <<<"$group"); do
    dpkg-query -W -f='${Status}' "$alternative" 2>/dev/null | grep -q "install ok installed" && found=$alternative
  done
  [ -n "$found" ] && pass "dependency $group is installed" || fail "dependency $group is no installed package"
done

dpkg-deb --extract "$deb" "$work/root"
check "unpacked tavlix-cli solves" "$("$work/root/usr/bin/tavlix-cli" solve 3 3 8 8)" "8/(3-8/3)"
debug_sections=$(readelf -S "$work/root/usr/lib/tavlix/tavlix" | grep -c '\.debug_' || true)
check "program stripped" "$debug_sections" "0"

# Debian's checker of packages, where it is installed: no error and no warning.
if command -v lintian > /dev/null; then
  check "lintian finds no error or warning" "$(lintian "$deb" 2> /dev/null | grep -E '^[EW]: ' || true)" ""
else
  echo "SKIP lintian is not installed"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
