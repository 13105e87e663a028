# Native configuration: the portable rules and their tests under AddressSanitizer and UBSan, and
# the source-format check.
set(KESTRUNE_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(kestrune_portable PRIVATE ${KESTRUNE_SANITIZERS})
target_link_options(kestrune_portable PUBLIC ${KESTRUNE_SANITIZERS})

include(GoogleTest)
add_executable(portable_tests
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
target_compile_options(portable_tests PRIVATE ${KESTRUNE_WARNINGS} ${KESTRUNE_SANITIZERS})
target_link_libraries(portable_tests PRIVATE kestrune_portable GTest::gtest_main)
gtest_discover_tests(portable_tests DISCOVERY_MODE PRE_TEST)

find_program(CLANG_FORMAT NAMES clang-format clang-format-14 REQUIRED)
add_test(NAME source_format
  COMMAND ${CMAKE_COMMAND} -DCLANG_FORMAT=${CLANG_FORMAT} -DSOURCE_ROOT=${CMAKE_SOURCE_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/check_format.cmake)
