# The engine tests: the files Tesselar writes, played by a source port of
# id's engine (../shared/ports beside the source tree), and render3d's frame
# against the engine's. The EnginePort.Build test builds the port once per
# build folder, and the others require it; where the port cannot be built
# (no SDL2 development packages, no ports folder) they skip, saying why.
set(TESSELAR_ENGINE_DIR ${CMAKE_BINARY_DIR}/engine)
add_test(NAME EnginePort.Build COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/port/build_port.sh
  ${PROJECT_SOURCE_DIR}/../shared/ports ${TESSELAR_ENGINE_DIR})
set_tests_properties(EnginePort.Build PROPERTIES FIXTURES_SETUP EnginePort)
# The release test reads what tesselar-cli diff prints as JSON.
find_package(nlohmann_json 3.10 REQUIRED CONFIG)
file(GLOB TESSELAR_ENGINE_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/port/*.cpp)
add_executable(tesselar_port_tests ${TESSELAR_ENGINE_TESTS})
target_link_libraries(tesselar_port_tests PRIVATE tesselar_test_support GTest::gtest GTest::gtest_main nlohmann_json::nlohmann_json
  tesselar_test_warnings)
target_compile_definitions(tesselar_port_tests PRIVATE TESSELAR_ENGINE_DIR="${TESSELAR_ENGINE_DIR}")
add_dependencies(tesselar_port_tests tesselar_shipped_mapdefs)
gtest_discover_tests(tesselar_port_tests DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED EnginePort TIMEOUT 120)
