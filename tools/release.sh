#!/usr/bin/env bash
# Builds the release files from the last commit, optimised and in fresh build
# folders (build-dist/), and writes them into dist/:
#
#   orvando-<version>-windows-x64.zip    orvando.exe, LICENSE.txt, README.txt and
#                                        THIRD-PARTY-NOTICES.txt (Windows line ends)
#   orvando_<version>_amd64.deb          made by CPack from the install rules
#   orvando-<version>-linux-x86_64.tar.gz  the install tree under one top folder
#   SHA256SUMS                           over the three
#
# Two runs from the same commit give the same bytes, in any folder: times come
# from the last commit, entries are sorted and carry no user or folder names.
#
#   ORVANDO_RELEASE_WIN_BUILD=DIR  takes orvando.exe from that Windows build
#                                  (Release, by tools/build-windows.sh) instead
#                                  of building it afresh
#   ORVANDO_RELEASE_DIRTY=1        goes on despite uncommitted changes
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}" zip dpkg-dev mingw-w64-x86-64-dev

if [ -n "$(git status --porcelain)" ] && [ "${ORVANDO_RELEASE_DIRTY:-}" != 1 ]; then
  git status --short >&2
  echo "Uncommitted changes: a release is made from a commit; commit them first." >&2
  exit 1
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

build=build-dist
rm -rf "$build" dist
mkdir -p "$build" dist

echo "== Linux program and .deb"
cmake -S . -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANDO_BUILD_TESTS=OFF \
  -DORVANDO_BUILD_QT=ON >/dev/null
cmake --build "$build/linux" -j2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/linux/CMakeCache.txt")
(cd "$build/linux" && cpack -G DEB >/dev/null)
cp "$build/linux/orvando_${version}_amd64.deb" dist/

echo "== Linux tar.gz"
top=orvando-$version-linux-x86_64
cmake --install "$build/linux" --prefix "$PWD/$build/tar/$top" --strip >/dev/null
cp LICENSE "$build/tar/$top/"
tar -C "$build/tar" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
  --numeric-owner --format=gnu -cf - "$top" | gzip -9n >"dist/$top.tar.gz"

echo "== Windows zip"
win=${ORVANDO_RELEASE_WIN_BUILD:-$build/win}
if [ -z "${ORVANDO_RELEASE_WIN_BUILD:-}" ]; then
  ORVANDO_WIN_BUILD_DIR=$win bash tools/build-windows.sh -DORVANDO_BUILD_TESTS=OFF >/dev/null
fi
zip=$build/zip
mkdir "$zip"
cp "$win/orvando.exe" "$zip/"
crlf() { sed 's/\r*$/\r/'; }
crlf <LICENSE >"$zip/LICENSE.txt"
crlf <packaging/README.txt >"$zip/README.txt"
{
  echo "orvando.exe has the mingw-w64 C runtime and its thread library (winpthreads)"
  echo "built in. Their copyright notices and licences follow, as Debian's"
  echo "mingw-w64-x86-64-dev package, from which they come, records them."
  echo "orvando.exe also holds GCC's runtime libraries (libgcc, libstdc++), which"
  echo "the GCC Runtime Library Exception lets it carry under its own licence."
  echo
  cat /usr/share/doc/mingw-w64-x86-64-dev/copyright
} | crlf >"$zip/THIRD-PARTY-NOTICES.txt"
chmod 644 "$zip"/*
touch -d "@$SOURCE_DATE_EPOCH" "$zip"/*
(cd "$zip" && zip -X -q -9 "../../dist/orvando-$version-windows-x64.zip" *)

cd dist
sha256sum "orvando-$version-windows-x64.zip" "orvando_${version}_amd64.deb" "$top.tar.gz" >SHA256SUMS
ls -l
cat SHA256SUMS
