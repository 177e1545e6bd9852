# The toolkit's editable list: a one-column list edited in place, with New
# and Delete buttons and a browse button inside its editor.
add_library(velmora_toolkit_editable_list STATIC
    ${CMAKE_CURRENT_LIST_DIR}/editable_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/in_place_editor.cpp
)
target_include_directories(velmora_toolkit_editable_list PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_toolkit_editable_list PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_toolkit_editable_list PUBLIC velmora_framework comctl32 user32 gdi32)
