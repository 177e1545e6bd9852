# Velmora.exe itself, started as a user starts it.
velmora_test(program_test
    LOCK ini screen registry
    DEPENDS velmora_exe config_probe
    SOURCES program_test.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_config_program comctl32 gdi32)
# Velmora.exe at 100, 150 and 200 % display scaling.
velmora_test(scaling_program_test
    LOCK ini screen registry
    DEPENDS velmora_exe
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/scaling_program_test.cpp
        ${CMAKE_SOURCE_DIR}/tests/toolkit/screen_capture.cpp
    LIBS gdi32)
# Velmora.exe from the keyboard alone.
velmora_test(keyboard_program_test
    LOCK ini screen registry
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/keyboard_program_test.cpp
    DEPENDS velmora_exe probe_saver
    LIBS comctl32)
