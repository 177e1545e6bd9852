# Cross build for 32-bit Windows (the 32-bit edition) with MinGW-w64; its
# tests run through 32-bit Wine in the 32-bit prefix.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VELMORA_MINGW_TARGET i686-w64-mingw32)
set(VELMORA_WINE_RUN_ARGS)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
