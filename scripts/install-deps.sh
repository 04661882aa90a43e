#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tavlix need, when missing.
# Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  cmake g++ ninja-build
  clang libclang-rt-14-dev       # libFuzzer target
  libgtest-dev libbenchmark-dev
  libxml2-dev                                             # the tests read generated pages back
  libsqlite3-dev                                          # the answer history file
  libcli11-dev nlohmann-json3-dev                         # tavlix-cli's command line and JSON
  qt6-base-dev qt6-svg-dev libgl-dev                      # the desktop program
  qt6-charts-dev libqt6opengl6-dev                        # the Statistics window's charts
  libfluidsynth-dev timgm6mb-soundfont                    # MIDI tracks: the synthesiser, its sounds
  libsndfile1-dev libsamplerate0-dev libpulse-dev         # waveforms, and the way to the sound server
  libasound2-dev                                          # or to the card, without a server
  pulseaudio pulseaudio-utils                             # the sound tests' own server and recorder
  fonts-wqy-zenhei                                        # Chinese text
  qt6-translations-l10n                                   # Qt's own dialogs in Chinese
  at-spi2-core dbus-daemon python3-pyatspi                # the screen-reader test's accessibility bus and client
  xvfb xauth xdotool xclip imagemagick                    # its tests on a virtual display
  openssl                                                 # certificates of the update tests' HTTPS server
  help2man librsvg2-bin dpkg-dev file                     # manual page, icons, Debian package
  desktop-file-utils appstream groff-base                 # their checks
)
# Debian's checker of the package, which the package test runs.
packages+=(lintian)

# The complete list's page is laid out by a real browser in its test.
packages+=(chromium)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
