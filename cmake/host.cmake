# Host build: the portable core and its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set(VELMORA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(velmora_core PRIVATE ${VELMORA_SANITIZE} -g)
target_link_options(velmora_core PUBLIC ${VELMORA_SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/host)
