# Cross build for 64-bit Windows (the x64 edition) with MinGW-w64; its tests
# run through 64-bit Wine in the x64 edition's own 64-bit prefix.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VELMORA_MINGW_TARGET x86_64-w64-mingw32)
set(VELMORA_WINE_RUN_ARGS --x64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
