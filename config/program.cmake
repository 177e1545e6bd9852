# Velmora.exe: the application, its main sheet, and the pages without
# libraries of their own.
add_library(velmora_config_program STATIC
    ${CMAKE_CURRENT_LIST_DIR}/about_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/donations_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/velmora_dlg.cpp
)
target_include_directories(velmora_config_program PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_config_program PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_config_program PUBLIC velmora_config_screensavers velmora_config_options
    velmora_config_rotation
    velmora_config_controls velmora_toolkit
    velmora_framework
    shell32 comctl32 user32 gdi32)

add_executable(velmora_exe WIN32
    ${CMAKE_CURRENT_LIST_DIR}/velmora_app.cpp
    ${CMAKE_SOURCE_DIR}/framework/winmain.cpp
    ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
)
set_target_properties(velmora_exe PROPERTIES OUTPUT_NAME Velmora)
target_link_libraries(velmora_exe PRIVATE velmora_config_program)
velmora_deliverable(velmora_exe)
