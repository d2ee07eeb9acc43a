#!/usr/bin/env bash
# The Windows program: cross-built (tools/build-windows.sh), the exe checked, the cross-built
# tests run with ctest under Wine in a fresh prefix, orvando.exe through tools/e2e.sh's scenario.
cd "$(dirname "$0")/../.." && . tools/e2e.sh
orvando_ensure_packages wine wine64 icoutils libxml2-utils
bash tools/build-windows.sh
build=${ORVANDO_WIN_BUILD_DIR:-build-win}
exe=$PWD/$build/orvando.exe

[ "$(stat -c %s "$exe")" -lt 1048576 ] || fail "$exe has $(stat -c %s "$exe") bytes"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
grep -qx kernel32.dll <<<"$dlls" || fail "the import table was not read"
everywhere='kernel32|user32|gdi32|comctl32|msvcrt|ucrtbase|advapi32|shell32|ole32|uxtheme|api-ms-win-[a-z0-9-]+'
! extra=$(grep -vxE "($everywhere)\.dll" <<<"$dlls") || fail "$exe needs DLLs that Windows does not have: $extra"

res() { wrestool -x --raw -t "$1" -n 1 "$exe"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
IFS=. read -r major minor patch <<<"$version"
quad=$((10#$major)).$((10#$minor)).$((10#${patch:-0})).0
# The fixed version's high and low words, little-endian, for file and product.
words=$(printf '%02x00%02x000000%02x00' $((10#$minor)) $((10#$major)) $((10#${patch:-0})))
info=$(res 16 | od -An -v -tx1 | tr -d ' \n')
[[ $info == *bd04effe00000100$words$words* ]] || fail "the fixed file and product version are not $quad"
[[ $info == *0904b004 ]] || fail "the version's translation is not US English, Unicode (0x0409, 1200)"
strs=$(res 16 | strings -el | tr '\n' ' ')
[[ $strs == *" 040904B0 "*" FileVersion $version "*" ProductVersion $version "* ]] || fail "version strings: $strs"
ico=src/ui/icons/window.ico # icon group 1 (the file's icon), rebuilt as an .ico
cmp -n "$(stat -c %s $ico)" <(wrestool -x -t 14 -n 1 "$exe") $ico || fail "icon group 1 is not $ico"
manifest=$(res 24 | tr -s ' \n' ' ')
[[ $manifest == *'level="asInvoker"'* ]] || fail "the manifest does not run asInvoker"
[[ $manifest == *'name="Microsoft.Windows.Common-Controls" version="6.'* ]] || fail "no Common Controls 6"
# Windows refuses to start an exe (a side-by-side error) whose manifest is not
# well-formed or gives the exe's own identity no four-number version. Wine starts it.
v1='namespace-uri()="urn:schemas-microsoft-com:asm.v1"'
own=$(res 24 | xmllint --xpath "string(/*[local-name()='assembly' and $v1]
  /*[local-name()='assemblyIdentity' and $v1]/@version)" -) || fail "the manifest is not well-formed XML"
[ "$own" = "$quad" ] || fail "the manifest's assemblyIdentity version is \"$own\", not $quad"

run=(wine "$exe") border=3 window_wait=60 # the first start of a Wine program is slow
desktop openbox
# A fresh prefix whose server stays up; its background programs start here, not in a test.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono, Gecko
timeout 300 wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || fail "wineboot: $(tail -5 "$work/wineboot.log")"
timeout 60 wineserver -w # until wineboot's server has gone
wineserver -p </dev/null >/dev/null 2>&1
timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
timeout 900 ctest --test-dir "$build" -j2 --output-on-failure --timeout 120 </dev/null
dpi() { timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1; }
dpi 192 # the window again at 200 %: the system's DPI, read by each program at its start
timeout 120 wine "$build/tests/win32_window_test.exe" --gtest_brief=1 </dev/null || fail "the window at 200 %"
dpi 96

# Wine draws the frame, 3 pixels wide; it sets the small and big icons, no 48 px one, and the
# dialog type that has openbox make the window active.
e2e_scenario _NET_WM_WINDOW_TYPE_DIALOG "Icon (16 x 16)" "Icon (32 x 32)"
