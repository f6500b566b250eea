# One static library per source folder; every .cpp of the folder belongs to it.
function(orvane_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# One test program per file of tests/<folder>/, linked against that folder's library.
# The widget tests get a main that creates the QApplication. CTest runs and reports
# each case on its own, except in the programs named in ORVANE_WHOLE_PROGRAM_TESTS,
# whose cases must share one process.
include(GoogleTest)
function(orvane_tests folder library)
  set(test_main GTest::gtest_main)
  if(folder STREQUAL "ui")
    set(test_main qt_test_main)
  endif()
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*Test.cpp)
  foreach(src ${test_sources})
    get_filename_component(test_name ${src} NAME_WE)
    add_executable(${test_name} ${src})
    target_link_libraries(${test_name} PRIVATE ${library} test_support GTest::gtest ${test_main})
    # One value per property: discovery would split a list.
    set(properties
      TIMEOUT 180
      LABELS ${folder}
      ENVIRONMENT "HOME=${CMAKE_BINARY_DIR}/test-home"
      ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
    if(test_name IN_LIST ORVANE_WHOLE_PROGRAM_TESTS)
      add_test(NAME ${test_name} COMMAND ${test_name})
      set_tests_properties(${test_name} PROPERTIES ${properties})
    else()
      # The program name leads each case name, so a pattern that picks a program still does.
      # Cases are listed when ctest starts: listing right after the link raced the linker's
      # handle on a loaded machine ("Text file busy").
      gtest_discover_tests(${test_name} TEST_PREFIX "${test_name}." DISCOVERY_TIMEOUT 120
        DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
    endif()
  endforeach()
endfunction()
