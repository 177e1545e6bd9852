# The editable list in a real dialog, driven by keys, clicks and its
# browse button.
velmora_test(editable_list_test
    LOCK screen
    SOURCES editable_list_test.cpp editable_list_test.rc
    LIBS velmora_toolkit_editable_list velmora_framework comctl32 gdi32)
