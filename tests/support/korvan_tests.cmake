# How the test programs are built: the shared helpers of tests/support/ are
# included as "support/….h" from tests/, and every Qt test program has the
# one main of support/qt_test_main.cpp.
set(KORVAN_TESTS_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
set(KORVAN_TEST_DEFINITIONS
  KORVAN_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
  KORVAN_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
  KORVAN_GOLDEN_DIR="${KORVAN_TESTS_DIR}/golden"
  KORVAN_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")

# A test program: its sources, the helpers' include root and the folders
# and files the tests read.
function(korvan_add_test_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES")
  add_executable(${target} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${KORVAN_TESTS_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
  target_compile_definitions(${target} PRIVATE ${KORVAN_TEST_DEFINITIONS})
endfunction()

# korvan_add_qt_test_program(<target> GUI|WIDGETS SOURCES ... LIBRARIES ...)
# A Qt test program with the shared main: GUI programs test what needs no
# widget library, WIDGETS programs show windows (offscreen unless
# QT_QPA_PLATFORM says otherwise).
function(korvan_add_qt_test_program target kind)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "SOURCES;LIBRARIES")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  korvan_add_test_program(${target}
    SOURCES ${ARG_SOURCES} ${KORVAN_TESTS_DIR}/support/qt_test_main.cpp
            ${KORVAN_TESTS_DIR}/support/comma_locale.cpp
    LIBRARIES ${ARG_LIBRARIES} Qt6::Test GTest::gtest)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  if(kind STREQUAL "WIDGETS")
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    target_link_libraries(${target} PRIVATE Qt6::Widgets)
    target_compile_definitions(${target} PRIVATE KORVAN_TEST_WIDGETS)
  endif()
endfunction()

# The tests of a Qt test program, each a ctest of its own, offscreen.
function(korvan_discover_offscreen_tests target)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# A whole program's session through real windows: one ctest that runs the
# test program under an X server it starts itself (Xvfb).
function(korvan_add_xvfb_test name target)
  add_test(NAME ${name}
    COMMAND xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" $<TARGET_FILE:${target}>)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=xcb TIMEOUT 300)
endfunction()
