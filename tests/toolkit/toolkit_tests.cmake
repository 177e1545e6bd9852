# Flat buttons and the picture-bar sheet, with the program's own pictures.
velmora_test(toolkit_test
    LOCK screen
    SOURCES toolkit_test.cpp screen_capture.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_toolkit velmora_framework comctl32 gdi32)

# The same parts against a test strip and templates of known pixels and
# sizes: layout against comctl32's own, real clicks and keys, every state.
velmora_test(picture_bar_sheet_test
    LOCK screen
    SOURCES picture_bar_sheet_test.cpp screen_capture.cpp toolkit_test.rc
    LIBS velmora_toolkit comctl32 gdi32)

velmora_test(flat_button_test
    LOCK screen
    SOURCES flat_button_test.cpp screen_capture.cpp toolkit_test.rc
    LIBS velmora_toolkit comctl32 gdi32)

velmora_test(link_button_test
    LOCK screen registry
    DEPENDS link_probe
    SOURCES link_button_test.cpp
    LIBS velmora_toolkit label_test_support comctl32 gdi32)
