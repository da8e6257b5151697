# tesselar_ui: the Qt 6 Widgets code of every subsystem. Every Qt file lives in a
# ui/ folder of its subsystem; the editor executable is little more than main.
# Multimedia: the page browser plays the game's digitised sounds.
find_package(Qt6 REQUIRED COMPONENTS Widgets Network Multimedia)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

file(GLOB TESSELAR_UI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*/*.h)
list(REMOVE_ITEM TESSELAR_UI_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/ui/main.cpp)
add_library(tesselar_ui STATIC ${TESSELAR_UI_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/editor/ui/views/resources.qrc)
target_include_directories(tesselar_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tesselar_ui PUBLIC tesselar_app tesselar_editor Qt6::Widgets Qt6::Network Qt6::Multimedia PRIVATE tesselar_warnings)
# Qt's headers trip the conversion warnings in code that merely uses them.
target_compile_options(tesselar_ui PRIVATE -Wno-sign-conversion)

add_executable(tesselar ${CMAKE_CURRENT_SOURCE_DIR}/app/ui/main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/app/ui/app.qrc)
target_link_libraries(tesselar PRIVATE tesselar_ui tesselar_warnings)
add_dependencies(tesselar tesselar_shipped_mapdefs tesselar_manual)
