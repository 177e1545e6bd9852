# The catalogue page of Velmora.exe, its scan of the screensaver folders and
# the list-view helpers it uses.
add_library(velmora_config_screensavers STATIC
    ${CMAKE_CURRENT_LIST_DIR}/screensavers_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/screensaver_scan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_view_items.cpp
)
target_include_directories(velmora_config_screensavers PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_config_screensavers PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_config_screensavers PUBLIC
    velmora_toolkit velmora_framework velmora_settings velmora_process velmora_core
    comctl32 shell32 gdi32 user32)
