# What both MinGW-w64 toolchain files share: the compilers of the target named
# by VELMORA_MINGW_TARGET, with the -posix thread model (std::mutex and
# std::thread, which GoogleTest needs), and the tests run through Wine in the
# edition's own prefix (wine-run's arguments in VELMORA_WINE_RUN_ARGS).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${VELMORA_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER  ${VELMORA_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ${VELMORA_WINE_RUN_ARGS})
