# Cross-compiles for 64-bit Windows with MinGW-w64 (its posix thread model, which std::thread and
# std::mutex need) and runs what it builds, the tests among them, under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries come from MinGW's own folder and from those built for Windows into the build's deps/.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${CMAKE_BINARY_DIR}/deps")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config looks only at the libraries built for Windows, never at the machine's own (set by
# the build itself, not by the test builds inside it, which have a folder of their own).
get_property(TARVEX_IN_TRY_COMPILE GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT TARVEX_IN_TRY_COMPILE)
  set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_BINARY_DIR}/deps/lib/pkgconfig")
endif()

# Linked statically, so that no MinGW runtime DLL has to lie beside each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Each program runs under Wine in the build's own Wine prefix, quietly and with no display.
find_program(TARVEX_WINE64 wine64 PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
  WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${TARVEX_WINE64})
