# quilo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <s>])
#
# One GoogleTest executable; each test case becomes its own CTest test so that
# `ctest -j` spreads them over the cores. Tests find the program folder and the
# shared fixture folder through the environment.
include(GoogleTest)
function(quilo_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE quilo_test_support GTest::gtest GTest::gmock GTest::gtest_main ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(label_property)
  if(T_LABELS)
    set(label_property LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT ${T_TIMEOUT}
      ${label_property}
      ENVIRONMENT "QUILO_PROGRAM_DIR=${QUILO_PROGRAM_DIR};QUILO_FIXTURE_DIR=${CMAKE_BINARY_DIR}/fixtures;QUILO_SOURCE_DIR=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
endfunction()
