# Fails when any C++ source of the project differs from what .clang-format makes of it.
file(GLOB_RECURSE sources ${SOURCE_ROOT}/src/*.cpp ${SOURCE_ROOT}/src/*.h
     ${SOURCE_ROOT}/tests/*.cpp ${SOURCE_ROOT}/tests/*.h
     ${SOURCE_ROOT}/bench/*.cpp ${SOURCE_ROOT}/bench/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Sources do not follow .clang-format; run: clang-format -i <files>")
endif()
