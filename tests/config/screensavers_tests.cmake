# The catalogue page in a real property sheet, with the program's templates
# and icons. It places screensavers in the Windows and system folders.
add_executable(catalogue_lister catalogue_lister.cpp catalogue_sheet.cpp
    ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc)
target_compile_options(catalogue_lister PRIVATE ${VELMORA_WARNINGS})
target_link_libraries(catalogue_lister PRIVATE velmora_config_screensavers velmora_test_support)

# The 9x case tells Wine, through the registry, which version to report.
velmora_test(screensavers_page_test
    LOCK ini screen registry
    DEPENDS probe_saver catalogue_lister
    SOURCES screensavers_page_test.cpp catalogue_sheet.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_config_screensavers comctl32 gdi32)

velmora_test(screensavers_rules_test
    SOURCES screensavers_rules_test.cpp
    LIBS velmora_core)

# The real Velmora.exe's catalogue page, driven from outside with real clicks.
velmora_test(screensavers_program_test
    LOCK ini screen
    DEPENDS velmora_exe probe_saver
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/screensavers_program_test.cpp
    LIBS comctl32)

# The real Velmora.exe's Rotation page beside its Screensavers page.
velmora_test(rotation_program_test
    LOCK ini screen
    DEPENDS velmora_exe probe_saver
    SOURCES ${CMAKE_SOURCE_DIR}/tests/e2e/rotation_program_test.cpp
    LIBS comctl32)
