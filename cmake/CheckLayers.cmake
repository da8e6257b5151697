# Refuses an include that points up the layers of src/:
#   core  <-  mapdefs, symbols, exchange, graphics, engine, vgagraph, audio  <-  raycast, generator, mod  <-  editor  <-  app
# A file may include its own subsystem and lower ones; of the middle layer,
# only symbols may include mapdefs (a symbol type names its structure), and
# engine (the rules of play) mapdefs, symbols and graphics, vgagraph (the
# game's other pictures) graphics and mapdefs, audio (the sounds and music)
# mapdefs and graphics (its sound files). Code
# outside a ui/ folder is toolkit-free and includes no ui/ file; nothing below
# app includes app.
# A subsystem split into rooms (the editor) layers its rooms the same way:
# every file sits in a named room, and a room includes only its own and lower
# rooms. The ui/ rooms are ranked among themselves; any of them may include
# the toolkit-free rooms.
# Run as a script: cmake -DSOURCE_DIR=<tree>/src -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.22)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: set SOURCE_DIR to the src folder")
endif()

set(rank_core 0)
set(rank_mapdefs 1)
set(rank_symbols 1)
set(rank_exchange 1)
set(rank_graphics 1)
set(rank_engine 1)
set(rank_vgagraph 1)
set(rank_audio 1)
set(rank_raycast 2)
set(rank_generator 2)
set(rank_mod 2)
set(rank_editor 3)
set(rank_app 4)
set(sideways_symbols mapdefs)
set(sideways_engine mapdefs symbols graphics)
set(sideways_vgagraph graphics mapdefs)
set(sideways_audio mapdefs graphics)

# The editor's rooms, bottom up: what a map looks like, what the game makes of
# it and the program's settings; the open document; Run Map; what the views
# show (the skill level, the picture mode, the overlays, the rules); whole-map
# operations and the keeping of work; the pointer tools; the session that
# joins them. Its window: the views; the dialogs, the play windows, the game
# data browser, Run Map's box and the mod's board, comparison and release;
# the main window over all of them.
set(rooms_editor render play settings document run view operations keeping tools session
                 ui/views ui/dialogs ui/play ui/gamedata ui/run ui/mod ui/window)
set(rank_editor/render 0)
set(rank_editor/play 0)
set(rank_editor/settings 0)
set(rank_editor/document 1)
set(rank_editor/run 1)
set(rank_editor/view 1)
set(rank_editor/operations 2)
set(rank_editor/keeping 2)
set(rank_editor/tools 3)
set(rank_editor/session 4)
set(rank_editor/ui/views 0)
set(rank_editor/ui/dialogs 1)
set(rank_editor/ui/play 1)
set(rank_editor/ui/gamedata 1)
set(rank_editor/ui/run 1)
set(rank_editor/ui/mod 1)
set(rank_editor/ui/window 2)

# The room of a path inside a subsystem with rooms ("editor/ui/views/MapView.h"
# lies in "editor/ui/views"), or "" when the path lies in none.
function(room_of path out)
  string(REPLACE "/" ";" parts "${path}")
  list(LENGTH parts depth)
  list(GET parts 0 sub)
  set(room "")
  if(depth GREATER 2)
    list(GET parts 1 first)
    if(first STREQUAL "ui" AND depth GREATER 3)
      list(GET parts 2 second)
      set(first "ui/${second}")
    endif()
    if(first IN_LIST rooms_${sub})
      set(room "${sub}/${first}")
    endif()
  endif()
  set(${out} "${room}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
foreach(file ${files})
  string(REPLACE "/" ";" parts ${file})
  list(GET parts 0 own)
  list(LENGTH parts depth)
  set(own_ui FALSE)
  if(depth GREATER 2)
    list(GET parts 1 second)
    if(second STREQUAL "ui")
      set(own_ui TRUE)
    endif()
  endif()
  if(NOT DEFINED rank_${own})
    string(APPEND faults "\n  ${file}: a folder outside the layers")
    continue()
  endif()
  set(own_room "")
  if(DEFINED rooms_${own})
    room_of(${file} own_room)
    if(own_room STREQUAL "")
      string(APPEND faults "\n  ${file}: a file outside the rooms of ${own}")
      continue()
    endif()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
    string(REPLACE "/" ";" target_parts "${target}")
    list(LENGTH target_parts target_depth)
    if(target_depth LESS 2)
      continue() # a file beside the includer
    endif()
    list(GET target_parts 0 other)
    list(GET target_parts 1 other_second)
    if(NOT DEFINED rank_${other})
      continue()
    endif()
    if(other_second STREQUAL "ui" AND NOT own_ui)
      string(APPEND faults "\n  ${file} includes ${target}: toolkit-free code includes a ui/ file")
    endif()
    if(other STREQUAL own)
      if(NOT own_room STREQUAL "")
        room_of(${target} other_room)
        # A ui/ room may use any toolkit-free room; otherwise rooms of one kind
        # are ranked against each other.
        set(other_ui FALSE)
        if(other_second STREQUAL "ui")
          set(other_ui TRUE)
        endif()
        if(NOT other_room STREQUAL "" AND NOT other_room STREQUAL own_room
           AND own_ui STREQUAL other_ui)
          if(${rank_${other_room}} GREATER ${rank_${own_room}})
            string(APPEND faults "\n  ${file} includes ${target}: ${own_room} lies below ${other_room}")
          elseif(${rank_${other_room}} EQUAL ${rank_${own_room}})
            string(APPEND faults "\n  ${file} includes ${target}: ${own_room} and ${other_room} are side by side")
          endif()
        endif()
      endif()
      continue()
    endif()
    if(${rank_${other}} GREATER ${rank_${own}})
      string(APPEND faults "\n  ${file} includes ${target}: ${own} lies below ${other}")
    elseif(${rank_${other}} EQUAL ${rank_${own}} AND NOT other IN_LIST sideways_${own})
      string(APPEND faults "\n  ${file} includes ${target}: ${own} and ${other} are side by side")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes that point up the layers:${faults}")
endif()
