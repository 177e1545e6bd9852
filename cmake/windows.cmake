# Windows build: the deliverables, the programs the tests start, and the tests.
enable_language(RC)

set(VELMORA_BIN ${CMAKE_BINARY_DIR}/bin)

# Two editions from one source: the 32-bit one (x86) and the x64 one. The
# x64 edition's tests carry ".x64" after their names, so that one ctest run
# can hold both.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VELMORA_EDITION x64)
    set(VELMORA_TEST_SUFFIX .x64)
else()
    set(VELMORA_EDITION x86)
    set(VELMORA_TEST_SUFFIX "")
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${VELMORA_BIN})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${VELMORA_BIN})

# Everything links statically, so each program imports only system DLLs.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++)
# Windows headers: the ANSI functions, Windows 2000 and later declarations.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
target_compile_options(velmora_core PRIVATE -Os)

# Deliverables are small, one-file programs. A library whose code holds no
# containers (HOOK_LIBRARY) is left without the runtime's error functions,
# which would bring the exception machinery into every process it loads into.
function(velmora_deliverable target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "HOOK_LIBRARY" "" "")
    if(NOT arg_HOOK_LIBRARY)
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/framework/runtime_errors.cpp)
    endif()
    target_compile_options(${target} PRIVATE ${VELMORA_WARNINGS} -Os)
    target_link_options(${target} PRIVATE -Os -s -Wl,--gc-sections)
endfunction()

add_library(velmora_framework STATIC
    framework/com_picture.cpp
    framework/data_exchange.cpp
    framework/dialog.cpp
    framework/folder_browser.cpp
    framework/property_page.cpp
    framework/property_sheet.cpp
    framework/win_app.cpp
    framework/win_thread.cpp
    framework/wnd.cpp
)
target_include_directories(velmora_framework PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_framework PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_framework PUBLIC comctl32 user32 gdi32 kernel32 ole32 oleaut32 uuid)

add_library(velmora_settings STATIC
    settings/extra_folders.cpp
    settings/option_flags.cpp
    settings/password_protection.cpp
    settings/runtime_text.cpp
    settings/system_folders.cpp
    settings/windows_line.cpp
)
target_include_directories(velmora_settings PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_settings PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_settings PUBLIC advapi32 velmora_core)

# The one way both programs start a process.
add_library(velmora_process STATIC
    runner/process_start.cpp
)
target_include_directories(velmora_process PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(velmora_process PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_process PUBLIC velmora_settings velmora_core kernel32)

# Velmora.scr without its WinMain and application object, so that tests can
# link the runner's modes and drive them in-process.
add_library(velmora_runner STATIC
    runner/change_password.cpp
    runner/configure.cpp
    runner/file_exists.cpp
    runner/close_running.cpp
    runner/display_power.cpp
    runner/hook_library.cpp
    runner/input_watch.cpp
    runner/launcher.cpp
    runner/monitor_covers.cpp
    runner/monitor_hosts.cpp
    runner/monitor_window.cpp
    runner/pick_next.cpp
    runner/preview_window.cpp
    runner/rotation_checks.cpp
    runner/run_control.cpp
    runner/run_end.cpp
    runner/run_session.cpp
    runner/running_child.cpp
    runner/session_window.cpp
)
target_compile_options(velmora_runner PRIVATE ${VELMORA_WARNINGS} -Os)
target_link_libraries(velmora_runner PUBLIC velmora_framework velmora_settings velmora_process
    velmora_core
    shell32 ole32 user32 gdi32 kernel32)

add_executable(velmora_scr WIN32
    runner/screensaver_app.cpp
    framework/winmain.cpp
    resources/velmora_scr.rc
)
set_target_properties(velmora_scr PROPERTIES OUTPUT_NAME Velmora SUFFIX ".scr")
target_link_libraries(velmora_scr PRIVATE velmora_runner)
velmora_deliverable(velmora_scr)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(trapline)
add_subdirectory(savers)
# Velmora.exe: its own controls, the UI toolkit, then the program and pages.
add_subdirectory(config/controls)
add_subdirectory(toolkit)
add_subdirectory(config)
add_subdirectory(help)
add_subdirectory(installer)
add_subdirectory(tests)
add_subdirectory(bench)

# windres reports no dependencies, so a picture or icon redrawn by tools/
# would not rebuild the programs: every directory that compiles a resource
# script is told what the scripts read.
file(GLOB velmora_resource_inputs CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.bmp
    ${CMAKE_SOURCE_DIR}/resources/*.gif ${CMAKE_SOURCE_DIR}/resources/*.manifest
    ${CMAKE_SOURCE_DIR}/resources/*.h)
function(velmora_resource_depends dir)
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/velmora_exe.rc
        ${CMAKE_SOURCE_DIR}/resources/velmora_scr.rc resources/velmora_scr.rc
        DIRECTORY ${dir} APPEND PROPERTY OBJECT_DEPENDS ${velmora_resource_inputs})
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        if(NOT sub MATCHES "googletest")
            velmora_resource_depends(${sub})
        endif()
    endforeach()
endfunction()
velmora_resource_depends(${CMAKE_SOURCE_DIR})
