# Windows configuration: the supervisor, the stand-in programs and every test, run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(KESTRUNE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${KESTRUNE_WINEPREFIX})

set(KESTRUNE_WIN32_DEFINITIONS UNICODE _UNICODE STRICT NOMINMAX WIN32_LEAN_AND_MEAN
    _WIN32_WINNT=0x0601)

add_library(kestrune_core STATIC
  src/shell/failure_sink.cpp
  src/shell/window_base.cpp
  src/shell/timer.cpp
  src/supervision/ini_file.cpp
  src/supervision/settings_file.cpp
  src/supervision/server_process.cpp
  src/supervision/supervisor.cpp
)
target_link_libraries(kestrune_core PUBLIC kestrune_portable)
target_compile_options(kestrune_core PRIVATE ${KESTRUNE_WARNINGS})
target_compile_definitions(kestrune_core PUBLIC ${KESTRUNE_WIN32_DEFINITIONS})

add_executable(kestrune WIN32 src/main.cpp)
target_link_libraries(kestrune PRIVATE kestrune_core)
target_link_options(kestrune PRIVATE -municode)
target_compile_options(kestrune PRIVATE ${KESTRUNE_WARNINGS})

# Stand-in programs that take the place of the game server and the query tool.
add_executable(standin_server WIN32 tests/standin/standin_server.cpp)
target_compile_options(standin_server PRIVATE ${KESTRUNE_WARNINGS})
target_compile_definitions(standin_server PRIVATE ${KESTRUNE_WIN32_DEFINITIONS})
target_include_directories(standin_server PRIVATE src)
target_link_libraries(standin_server PRIVATE ws2_32)

function(kestrune_wine_test name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${KESTRUNE_WARNINGS})
  target_link_libraries(${name} PRIVATE kestrune_core GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

kestrune_wine_test(portable_tests_win32
  tests/portable/integer_conversion_test.cpp
  tests/portable/text_rules_test.cpp
)
kestrune_wine_test(supervision_tests
  tests/win32/test_support.cpp
  tests/win32/settings_file_test.cpp
  tests/win32/server_process_test.cpp
  tests/win32/supervisor_test.cpp
  tests/win32/timer_test.cpp
)
add_dependencies(supervision_tests standin_server)
