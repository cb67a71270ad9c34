# quilo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <s>]
#                [RESOURCE_LOCK <name>] [EMULATOR <command;args...>])
#
# One GoogleTest executable; each test case becomes its own CTest test so that
# `ctest -j` spreads them over the cores. The test support library knows the
# program, fixture and source folders (tests/CMakeLists.txt); the environment
# may point elsewhere.
include(GoogleTest)
function(quilo_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;LABELS;EMULATOR" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE quilo_test_support GTest::gtest GTest::gmock GTest::gtest_main ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Test discovery reads the emulator when it is set up, so it must be there first.
  if(T_EMULATOR)
    set_target_properties(${T_NAME} PROPERTIES CROSSCOMPILING_EMULATOR "${T_EMULATOR}")
  endif()
  set(label_property)
  if(T_LABELS)
    set(label_property LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    list(APPEND label_property RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT ${T_TIMEOUT}
      ${label_property})
endfunction()
