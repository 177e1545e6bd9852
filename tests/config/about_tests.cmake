# The About page of the real Velmora.exe.
# In lane 3 with the demo savers, for the reason given with the credits
# thread's test.
velmora_test(about_program_test
    LANE 3
    LOCK ini screen registry
    DEPENDS velmora_exe link_probe
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/about_program_test.cpp
        ${CMAKE_SOURCE_DIR}/tests/toolkit/screen_capture.cpp
        ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS gdi32)
