# Flat buttons and the picture-bar sheet, with the program's own pictures.
velmora_test(toolkit_test
    LOCK screen
    SOURCES toolkit_test.cpp ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
    LIBS velmora_toolkit velmora_framework comctl32 gdi32)
