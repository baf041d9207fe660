# kvr_add_test(NAME name SOURCES ... LIBS ... [LABELS unit|gui|pty])
# One GoogleTest executable registered with CTest; widgets render offscreen and
# every test gets its own settings and data folders.
find_package(GTest REQUIRED)
include(GoogleTest)

function(kvr_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock kvr_testsupport)
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS "${T_LABELS}"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
