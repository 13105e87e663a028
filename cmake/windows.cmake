# Windows configuration: the supervisor, the stand-in programs and every test, run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(KESTRUNE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${KESTRUNE_WINEPREFIX})

set(KESTRUNE_WIN32_DEFINITIONS UNICODE _UNICODE STRICT NOMINMAX WIN32_LEAN_AND_MEAN
    _WIN32_WINNT=0x0601)

add_library(kestrune_core STATIC
  src/ui/application.cpp
  src/ui/command_target.cpp
  src/ui/failure_report.cpp
  src/ui/failure_sink.cpp
  src/ui/form.cpp
  src/ui/handle_watch.cpp
  src/ui/scoped_subclass.cpp
  src/ui/timer.cpp
  src/ui/window_base.cpp
  src/skin/skin_painter.cpp
  src/controls/control.cpp
  src/controls/standard_controls.cpp
  src/controls/skinned_controls.cpp
  src/controls/spin_edit.cpp
  src/controls/browse_glyph.cpp
  src/controls/edit_button.cpp
  src/controls/open_dialog.cpp
  src/controls/filename_edit.cpp
  src/controls/hint_switch.cpp
  src/controls/hint_balloon_drawing.cpp
  src/controls/hint_window.cpp
  src/controls/hint_manager.cpp
  src/supervision/ini_file.cpp
  src/supervision/query_result.cpp
  src/supervision/restart_history.cpp
  src/supervision/server_copies.cpp
  src/supervision/server_process.cpp
  src/supervision/settings_file.cpp
  src/supervision/supervisor.cpp
  src/supervision/tool_runner.cpp
  src/tray/simple_timer.cpp
  src/tray/taskbar_created.cpp
  src/tray/tray_icon.cpp
  src/tray/tray_icon_events.cpp
  src/tray/tray_icon_handler.cpp
  src/tray/tray_icon_windows.cpp
  src/app/main_window.cpp
)
target_link_libraries(kestrune_core PUBLIC kestrune_portable comctl32 comdlg32 shell32 ole32 version ntdll)
target_compile_options(kestrune_core PRIVATE ${KESTRUNE_WARNINGS})
target_compile_definitions(kestrune_core PUBLIC ${KESTRUNE_WIN32_DEFINITIONS})

enable_language(RC)
add_executable(kestrune WIN32 src/app/main.cpp src/app/resources/kestrune.rc)
target_link_libraries(kestrune PRIVATE kestrune_core)
target_link_options(kestrune PRIVATE -municode)
target_compile_options(kestrune PRIVATE ${KESTRUNE_WARNINGS})

# Stand-in programs that take the place of the game server and the query tool.
add_executable(standin_server WIN32 tests/standin/standin_server.cpp)
target_compile_options(standin_server PRIVATE ${KESTRUNE_WARNINGS})
target_compile_definitions(standin_server PRIVATE ${KESTRUNE_WIN32_DEFINITIONS})
target_include_directories(standin_server PRIVATE src)
target_link_libraries(standin_server PRIVATE ws2_32)

add_executable(standin_qstat tests/standin/standin_qstat.cpp)
target_compile_options(standin_qstat PRIVATE ${KESTRUNE_WARNINGS})
target_compile_definitions(standin_qstat PRIVATE ${KESTRUNE_WIN32_DEFINITIONS})
target_include_directories(standin_qstat PRIVATE src)
target_link_libraries(standin_qstat PRIVATE ws2_32)

# One test program is one ctest entry: a Wine process per program, not per case.
function(kestrune_wine_test name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${KESTRUNE_WARNINGS})
  target_link_libraries(${name} PRIVATE kestrune_core GTest::gtest)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

kestrune_wine_test(portable_tests_win32
  tests/portable/integer_conversion_test.cpp
  tests/portable/result_rules_test.cpp
  tests/portable/history_rules_test.cpp
  tests/portable/watchdog_rules_test.cpp
  tests/portable/text_rules_test.cpp
  tests/portable/spin_rules_test.cpp
  tests/portable/browse_rules_test.cpp
  tests/portable/tray_rules_test.cpp
  tests/portable/hint_balloon_rules_test.cpp
  tests/portable/contrast_test.cpp
)
target_link_libraries(portable_tests_win32 PRIVATE GTest::gtest_main)
kestrune_wine_test(supervision_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/settings_file_test.cpp
  tests/win32/server_process_test.cpp
  tests/win32/supervisor_test.cpp
  tests/win32/restart_history_test.cpp
  tests/win32/timer_test.cpp
)
add_dependencies(supervision_tests standin_server)

kestrune_wine_test(health_check_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/health_check_test.cpp
  tests/win32/tool_runner_test.cpp
  tests/win32/watchdog_test.cpp
)
add_dependencies(health_check_tests standin_server standin_qstat)

kestrune_wine_test(ui_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/failure_report_test.cpp
)

# The failure box's placement needs two monitors: the same program again, on a desktop of its own.
add_test(NAME ui_tests_two_monitors
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/two-monitors-run ${KESTRUNE_WINEPREFIX}-two-monitors
          $<TARGET_FILE:ui_tests> --gtest_filter=ReportFailureOnTwoMonitors.*)
set_tests_properties(ui_tests_two_monitors PROPERTIES TIMEOUT 600)

kestrune_wine_test(controls_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/controls_test.cpp
  tests/win32/main_window_test.cpp
  tests/win32/spin_edit_test.cpp
  tests/win32/filename_edit_test.cpp
)

kestrune_wine_test(end_to_end_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/end_to_end_test.cpp
)
add_dependencies(end_to_end_tests kestrune standin_server standin_qstat)

kestrune_wine_test(standin_tools_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/standin_tools_test.cpp
)
add_dependencies(standin_tools_tests standin_server standin_qstat)

# Benchmarks: measurements to read, not tests. Run with scripts/bench.sh.
add_executable(tool_wait_bench bench/tool_wait_bench.cpp tests/win32/test_support.cpp)
target_compile_options(tool_wait_bench PRIVATE ${KESTRUNE_WARNINGS})
target_link_libraries(tool_wait_bench PRIVATE kestrune_core)
add_dependencies(tool_wait_bench standin_qstat)
add_executable(hint_balloon_bench bench/hint_balloon_bench.cpp)
target_compile_options(hint_balloon_bench PRIVATE ${KESTRUNE_WARNINGS})
target_link_libraries(hint_balloon_bench PRIVATE kestrune_core)

add_executable(watchdog_bench bench/watchdog_bench.cpp tests/win32/test_support.cpp)
target_compile_options(watchdog_bench PRIVATE ${KESTRUNE_WARNINGS})
target_link_libraries(watchdog_bench PRIVATE kestrune_core)
add_dependencies(watchdog_bench standin_server standin_qstat)

kestrune_wine_test(tray_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/tray_icon_test.cpp
  tests/win32/simple_timer_test.cpp
)

kestrune_wine_test(hint_tests
  tests/win32/test_main.cpp
  tests/win32/test_support.cpp
  tests/win32/hint_test.cpp
)
# It moves the real pointer: nothing else runs beside it.
set_tests_properties(hint_tests PROPERTIES RUN_SERIAL TRUE)
