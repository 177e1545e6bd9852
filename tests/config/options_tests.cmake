# The Options page in a real property sheet, with the program's templates.
velmora_test(options_page_test
    LOCK ini registry screen
    SOURCES options_page_test.cpp options_sheet.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_config_options comctl32 gdi32)

# The browse button with the real folder browser. Its own process: the
# restart warning is shown once per run of the program.
velmora_test(options_browse_test
    LOCK ini screen
    SOURCES options_browse_test.cpp options_sheet.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_config_options comctl32 gdi32 shell32 ole32)

# The rules of the page, on Windows too.
velmora_test(options_rules_test
    SOURCES options_rules_test.cpp
    LIBS velmora_core)

# The real Velmora.exe started as a user starts it, and the next run of
# Velmora.scr /s after it (the show time's timer waited for once, in a lane of
# its own).
velmora_test(options_program_test
    LANE 2
    LOCK ini screen registry
    DEPENDS velmora_exe velmora_scr probe_saver trapline
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/options_program_test.cpp
    LIBS comctl32)
