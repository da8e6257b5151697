# UI tests: every test file in a ui/ folder, one executable with a main that
# creates the QApplication (offscreen when there is no display).
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
file(GLOB TESSELAR_UI_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*/*.cpp)
list(REMOVE_ITEM TESSELAR_UI_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/support/ui/UiTestMain.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/ui/UiTestUtil.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/ui/EditorFixture.cpp)
add_executable(tesselar_ui_tests ${TESSELAR_UI_TESTS} support/ui/UiTestMain.cpp support/ui/UiTestUtil.cpp
  support/ui/EditorFixture.cpp)
set_target_properties(tesselar_ui_tests PROPERTIES AUTOMOC ON)
target_include_directories(tesselar_ui_tests PRIVATE support support/ui)
target_link_libraries(tesselar_ui_tests PRIVATE tesselar_ui tesselar_test_support tesselar_sample Qt6::Test
  GTest::gtest GTest::gmock tesselar_test_warnings)
target_compile_definitions(tesselar_ui_tests PRIVATE TESSELAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(tesselar_ui_tests tesselar_shipped_mapdefs)
gtest_discover_tests(tesselar_ui_tests DISCOVERY_TIMEOUT 120
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# The editor itself, run by the tests of what it answers without a display.
target_compile_definitions(tesselar_ui_tests PRIVATE TESSELAR_EDITOR_PATH="$<TARGET_FILE:tesselar>")
add_dependencies(tesselar_ui_tests tesselar)
