# The Options page of Velmora.exe and its list of extra folders.
add_library(velmora_config_options STATIC
    ${CMAKE_CURRENT_LIST_DIR}/options_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/additional_path_list.cpp
)
target_include_directories(velmora_config_options PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_config_options PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_config_options PUBLIC
    velmora_toolkit velmora_toolkit_editable_list velmora_config_controls velmora_settings velmora_core
    velmora_framework shell32 ole32 comctl32 user32)
