# The Donations page in the real Velmora.exe.
velmora_test(donations_program_test
    LOCK ini screen registry
    DEPENDS velmora_exe link_probe
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/donations_program_test.cpp
    LIBS label_test_support gdi32)
