# The Rotation page of Velmora.exe: it shows the Screensavers page's rotation
# list and the Options page's show time, so it builds on both.
add_library(velmora_config_rotation STATIC
    ${CMAKE_CURRENT_LIST_DIR}/rotation_page.cpp
)
target_include_directories(velmora_config_rotation PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_config_rotation PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_config_rotation PUBLIC
    velmora_config_screensavers velmora_config_options velmora_toolkit
    velmora_toolkit_editable_list velmora_framework
    velmora_settings velmora_core comctl32 user32)
