#!/usr/bin/env bash
# The release files as a player gets them, made by tools/release.sh with the
# exe the Windows suite has just tested:
#   the zip holds exactly its four files, that very exe and Windows line ends;
#   the .deb passes lintian; installed, its orvando prints the version and
#   opens its window in a sample game folder with the stock-music caption;
#   removing it leaves none of its files; the tar.gz's orvando does the same.
# The .deb is installed system-wide with dpkg only when CI=true; elsewhere it
# is unpacked into a temporary folder with dpkg-deb -x.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
orvando_ensure_packages lintian unzip xvfb xdotool xauth

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
installed=""
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$installed" ] && $sudo dpkg -r orvando >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
. tools/e2e.sh

echo "== tools/release.sh"
win=${ORVANDO_WIN_BUILD_DIR:-build-win}
[ -f "$win/orvando.exe" ] || fail "$win/orvando.exe is missing"
ORVANDO_RELEASE_WIN_BUILD=$win ORVANDO_RELEASE_DIRTY=1 tools/release.sh >"$work/release.log" 2>&1 ||
  { cat "$work/release.log" >&2; fail "tools/release.sh failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-dist/linux/CMakeCache.txt)
zip=dist/orvando-$version-windows-x64.zip
deb=dist/orvando_${version}_amd64.deb
tgz=dist/orvando-$version-linux-x86_64.tar.gz

echo "== zip"
[ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt orvando.exe " ] ||
  fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -p "$zip" orvando.exe | cmp - "$win/orvando.exe" || fail "the zip's exe is not the tested one"
[ -z "$(unzip -p "$zip" '*.txt' | grep -v $'\r$')" ] || fail "a text file in the zip has a line without CR"
(cd dist && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

echo "== lintian"
lintian --fail-on error "$deb"

start_xvfb
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
tools/make_sample_game.sh "$work/game" >/dev/null

runs_as_a_player_would() { # program
  [ "$("$1" --version)" = "orvando $version" ] || fail "$1 --version: $("$1" --version)"
  (cd "$work/game" && exec "$1" >"$work/app.log" 2>&1) &
  app_pid=$!
  find_window "Orvando v2 (Det: Not Enabled)" >/dev/null
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

if [ "${CI:-}" = true ]; then
  echo "== .deb installed with dpkg"
  installed=yes
  $sudo dpkg -i "$deb" >/dev/null
  runs_as_a_player_would /usr/bin/orvando
  $sudo dpkg -r orvando >/dev/null
  installed=""
  for file in $(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}') /usr/share/doc/orvando; do
    [ ! -e "$file" ] || fail "$file is left after dpkg -r"
  done
else
  echo "== .deb unpacked with dpkg-deb -x (CI=true installs it)"
  dpkg-deb -x "$deb" "$work/root"
  runs_as_a_player_would "$work/root/usr/bin/orvando"
fi

echo "== tar.gz"
mkdir "$work/tar"
tar -xzf "$tgz" -C "$work/tar"
runs_as_a_player_would "$work/tar/orvando-$version-linux-x86_64/bin/orvando"
echo "release: all passed"
