#!/usr/bin/env bash
# The release files of tools/release.sh, made with the exe the Windows suite
# has just tested: the zip holds its four files, that very exe and Windows line
# ends; SHA256SUMS matches; the .deb passes lintian; installed (with dpkg when
# CI=true, else unpacked), its orvando prints the version and goes through the
# scenario of tools/e2e.sh, and removing it leaves nothing; so does the tar.gz's.
cd "$(dirname "$0")/../.." && . tools/e2e.sh
orvando_ensure_packages lintian unzip
installed="" sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
trap 'cleanup; [ -z "$installed" ] || $sudo dpkg -r orvando >/dev/null 2>&1' EXIT

echo "== tools/release.sh"
win=${ORVANDO_WIN_BUILD_DIR:-build-win}
[ -f "$win/orvando.exe" ] || fail "$win/orvando.exe is missing"
ORVANDO_RELEASE_WIN_BUILD=$win ORVANDO_RELEASE_DIRTY=1 tools/release.sh >"$work/release.log" 2>&1 ||
  { cat "$work/release.log" >&2; fail "tools/release.sh failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-dist/linux/CMakeCache.txt)
zip=dist/orvando-$version-windows-x64.zip deb=dist/orvando_${version}_amd64.deb

echo "== zip, SHA256SUMS, lintian"
[ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt orvando.exe " ] ||
  fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -p "$zip" orvando.exe | cmp - "$win/orvando.exe" || fail "the zip's exe is not the tested one"
[ "$(unzip -p "$zip" '*.txt' | grep -cv $'\r$')" = 0 ] || fail "a text file in the zip has a line without CR"
(cd dist && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
lintian --fail-on error "$deb"

plays() { # program
  [ "$("$1" --version)" = "orvando $version" ] || fail "$1 --version: $("$1" --version)"
  run=("$1") border=0
  e2e_scenario "${qt_props[@]}"
}
if [ "${CI:-}" = true ]; then
  echo "== .deb installed with dpkg"
  installed=yes
  $sudo dpkg -i "$deb" >/dev/null
  plays /usr/bin/orvando
  $sudo dpkg -r orvando >/dev/null
  installed=""
  left=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | xargs ls -d /usr/share/doc/orvando 2>/dev/null || true)
  [ -z "$left" ] || fail "left after dpkg -r: $left"
else
  echo "== .deb unpacked with dpkg-deb -x (CI=true installs it)"
  dpkg-deb -x "$deb" "$work/root"
  plays "$work/root/usr/bin/orvando"
fi

echo "== tar.gz"
tar -xzf "dist/orvando-$version-linux-x86_64.tar.gz" -C "$work"
plays "$work/orvando-$version-linux-x86_64/bin/orvando"
echo "PASS: release files"
