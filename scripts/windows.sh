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

# libsodium for Windows (static, its smallest form), built once from the source of this Debian
# release and kept in deps/. The source comes through a source list and apt state of the
# script's own, so that the machine's apt configuration stays as it is.
if [ ! -f "$deps/libsodium.done" ]; then
  apt=$deps/apt
  source_dir=$deps/libsodium-src
  release=$(. /etc/os-release && echo "$VERSION_CODENAME")
  rm -rf "$source_dir"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$source_dir"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian" \
    "$release main" > "$apt/sources.list"
  apt_options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State="$apt" -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache")
  # Debian's source carries no generated configure script; autoreconf makes it.
  ( cd "$source_dir" &&
    apt-get "${apt_options[@]}" update &&
    apt-get "${apt_options[@]}" source libsodium &&
    cd libsodium-*/ &&
    autoreconf -i &&
    ./configure --host=x86_64-w64-mingw32 --prefix="$deps" --disable-shared --enable-minimal --disable-ssp \
      --disable-dependency-tracking &&
    make -j2 install
  ) > "$out/libsodium.log" 2>&1 || { tail -40 "$out/libsodium.log"; exit 1; }
  rm -rf "$source_dir"
  touch "$deps/libsodium.done"
fi

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
ctest --output-on-failure -j"$(nproc)"
