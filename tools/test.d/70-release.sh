#!/usr/bin/env bash
# The release files of tools/release.sh, made with the exe the Windows suite has just tested: the
# zip (its four files, that very exe, Windows line ends), SHA256SUMS, lintian; the .deb's orvando
# (installed with dpkg when CI=true, else unpacked) through tools/e2e.sh's scenario on each desktop,
# a line each; the tar.gz's, the same bytes.
cd "$(dirname "$0")/../.." && . tools/e2e.sh
orvando_ensure_packages lintian unzip
installed="" sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
trap 'cleanup; [ -z "$installed" ] || $sudo dpkg -r orvando >/dev/null 2>&1' EXIT

win=${ORVANDO_WIN_BUILD_DIR:-build-win}
ORVANDO_RELEASE_WIN_BUILD=$win ORVANDO_RELEASE_DIRTY=1 tools/release.sh >"$work/release.log" 2>&1 ||
  fail "tools/release.sh failed: $(cat "$work/release.log")"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-dist/linux/CMakeCache.txt)
zip=dist/orvando-$version-windows-x64.zip deb=dist/orvando_${version}_amd64.deb
[ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt orvando.exe " ] ||
  fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -p "$zip" orvando.exe | cmp - "$win/orvando.exe" || fail "the zip's exe is not the tested one"
[ "$(unzip -p "$zip" '*.txt' | grep -cv $'\r$')" = 0 ] || fail "a text file in the zip has a line without CR"
(cd dist && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
lintian --fail-on error "$deb"

if [ "${CI:-}" = true ]; then
  installed=yes program=/usr/bin/orvando
  $sudo dpkg -i "$deb" >/dev/null
else
  dpkg-deb -x "$deb" "$work/root"
  program=$work/root/usr/bin/orvando
fi
tar -xzf "dist/orvando-$version-linux-x86_64.tar.gz" -C "$work"
cmp "$program" "$work/orvando-$version-linux-x86_64/bin/orvando" || fail "the tar.gz holds another program"
[ "$("$program" --version)" = "orvando $version" ] || fail "$program --version: $("$program" --version)"
run=("$program") border=0
for name in "${desktop_names[@]}"; do
  desktop "$name"
  # No taskbar button, asked of every window manager; mutter lists a dialog without a parent all the same.
  e2e_scenario "${qt_props[@]}" $([ "$name" = mutter ] || echo _NET_WM_STATE_SKIP_TASKBAR)
  echo "$name: the scenario passed"
done
