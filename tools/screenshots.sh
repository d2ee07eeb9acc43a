#!/usr/bin/env bash
# Takes the README's pictures of the window as a player sees it, frame and caption included, on
# a 1920x1080 screen, and writes them into docs/ (or the folder given):
#   window-states.png    the four caption states under openbox, the Linux window left, the
#                        Windows exe under Wine right, at 100 %
#   window-200.png       both in an error state (both action buttons shown) at 200 %
#   window-desktops.png  the Linux window in that state on each desktop of the test matrix
# Builds both programs first.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}" imagemagick x11-xserver-utils wine wine64
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANDO_BUILD_QT=ON >/dev/null
cmake --build build >/dev/null
bash tools/build-windows.sh >/dev/null
. tools/desktops.sh
desktop openbox
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 300 wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot failed"
timeout 60 wineserver -w # until wineboot's server has gone, then one that stays
wineserver -p </dev/null >/dev/null 2>&1

# The four states, from the sample folder as the switch and a lost track leave it.
game=$work/game
tools/make_sample_game.sh "$game/Not Enabled" >/dev/null
cp -a "$game/Not Enabled" "$game/Mod Enabled"
for f in "$game/Mod Enabled"/stream*/*.wav; do [[ $f == *.mod.wav ]] || mv "$f" "${f%.wav}.original.wav"; done
for f in "$game/Mod Enabled"/stream*/*.mod.wav; do mv "$f" "${f%.mod.wav}.wav"; done
cp -a "$game/Not Enabled" "$game/Error, rec. Rename"
rm "$game/Error, rec. Rename/streammusic/mus_theme_malak.wav"
cp -a "$game/Mod Enabled" "$game/Error, rec. Un-rename"
rm "$game/Error, rec. Un-rename/streammusic/mus_theme_malak.original.wav"

shoot() { # state file: the window with its frame, once placed, then closed with Alt+F4
  local win
  start_app "$game/$1"
  win=$(find_window "Orvando v2 (Det: $1)")
  sleep 1 # placed, framed and painted
  geometry "$win"
  if [ -n "${SWAYSOCK:-}" ]; then
    grim -g "$(awk -v f="$frame" -v t="$title" 'BEGIN { split(f, a, /[x+]/)
      printf "%d,%d %dx%d", a[3], a[4] - t, a[1], a[2] + t }')" "$work/$2.png"
  else
    import -window root -crop "$frame" +repage "$work/$2.png"
  fi
  press "$win" alt+F4
  expect_exit 0 "closing the window of $1"
}
both() { # state file: the Linux window, then the Windows one
  run=("$PWD/build/orvando") border=0 window_wait=20 && shoot "$1" "linux-$2"
  run=(wine "$PWD/build-win/orvando.exe") border=3 window_wait=60 && shoot "$1" "windows-$2"
}

states=("Not Enabled" "Mod Enabled" "Error, rec. Rename" "Error, rec. Un-rename")
for i in "${!states[@]}"; do both "${states[$i]}" "$i"; done
mkdir -p "$out"
montage "$work"/{linux,windows}-0.png "$work"/{linux,windows}-1.png "$work"/{linux,windows}-2.png \
  "$work"/{linux,windows}-3.png -tile 2x -geometry +8+8 -background '#d8d8d8' PNG24:"$out/window-states.png"

xrdb -merge <<<"Xft.dpi: 192"
timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f </dev/null >/dev/null 2>&1
both "Error, rec. Un-rename" 200
montage "$work"/{linux,windows}-200.png -tile 2x -geometry +8+8 -background '#d8d8d8' PNG24:"$out/window-200.png"

run=("$PWD/build/orvando") border=0 window_wait=20
labels=()
for name in "${desktop_names[@]}"; do
  desktop "$name"
  shoot "Error, rec. Un-rename" "desktop-$name"
  labels+=(-label "$name" "$work/desktop-$name.png")
done
# The five at 100 % in rows of three, the one at 200 % below them.
montage "${labels[@]:0:15}" -tile 3x -geometry +8+8 -background '#d8d8d8' "$work/100.png"
montage "${labels[@]:15}" -geometry +8+8 -background '#d8d8d8' "$work/200.png"
convert "$work/100.png" "$work/200.png" -background '#d8d8d8' -append PNG24:"$out/window-desktops.png"
echo "Wrote $out/window-states.png, $out/window-200.png and $out/window-desktops.png"
