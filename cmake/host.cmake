# Host build: the portable core and its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set(VELMORA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(velmora_core PRIVATE ${VELMORA_SANITIZE} -g)
target_link_options(velmora_core PUBLIC ${VELMORA_SANITIZE})

# The fuzzing build (clang, -DVELMORA_FUZZ=ON): the core instrumented for
# libFuzzer's coverage, and the fuzz targets instead of the host tests.
option(VELMORA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(VELMORA_FUZZ)
    target_compile_options(velmora_core PRIVATE -fsanitize=fuzzer-no-link)
    add_subdirectory(fuzz)
    return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/host)
