# The UI toolkit: application-wide manager and visual style, the property page
# base, flat picture buttons, the link button and the picture-bar property sheet.
add_library(velmora_toolkit STATIC
    ${CMAKE_CURRENT_LIST_DIR}/contrast.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flat_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/link_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_bar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_bar_sheet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/toolkit_manager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/toolkit_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/visual_style.cpp
)
target_include_directories(velmora_toolkit PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_toolkit PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_toolkit PUBLIC velmora_framework shell32 msimg32 comctl32 user32 gdi32)
