# Holds every #include of the product's sources to the order of its rooms: a file never includes
# one from a room above its own or beside it, and the backends of the kinds of bank are reached
# only where a kind is chosen. Run as: cmake -DROOT=<source tree> -P rooms.cmake
# It fails, listing each include out of order.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "rooms.cmake: give the source tree with -DROOT=...")
endif()

# Lowest first. Rooms of the same rank are siblings: neither includes the other.
set(rank_store/core 0)
set(rank_store/tables 1)
set(rank_store/bank 2)
set(rank_store/folder 3)
set(rank_store/server 3)
set(rank_store/exchange 3)
set(rank_store/kinds 4)
set(rank_platform 5)
set(rank_game 6)
set(rank_screens 7)
set(rank_app 8)
set(rank_tools 9)
set(rooms store/core store/tables store/bank store/folder store/server store/exchange store/kinds
          platform game screens app tools)

# Where the backends may be named: their own rooms, the choice of a kind, and the set-up tool,
# whose commands make a bank of a given kind.
set(backend_users store/folder store/server store/kinds tools)
set(choice_users app tools)

# The room of `path` (relative to ROOT), or empty for a file of no room.
function(room_of path out)
  set(found "")
  foreach(room IN LISTS rooms)
    if(path MATCHES "^${room}/")
      set(found ${room})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/store/*.h ${ROOT}/store/*.cpp ${ROOT}/platform/*.h
     ${ROOT}/platform/*.cpp ${ROOT}/game/*.h ${ROOT}/game/*.cpp ${ROOT}/screens/*.h ${ROOT}/screens/*.cpp
     ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp)
foreach(source IN LISTS sources)
  room_of(${source} from)
  if(from STREQUAL "")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
    room_of(${included} to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    if(NOT rank_${to} LESS rank_${from})
      list(APPEND faults "${source}: ${from} includes ${included}, of ${to}, which is not below it")
    elseif(to MATCHES "^store/(folder|server)$" AND NOT from IN_LIST backend_users)
      list(APPEND faults "${source}: ${from} names a backend (${included}), which only its bank should know")
    elseif(to STREQUAL "store/kinds" AND NOT from IN_LIST choice_users)
      list(APPEND faults "${source}: ${from} chooses a kind of bank (${included})")
    endif()
  endforeach()
endforeach()

list(LENGTH sources count)
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes out of the rooms' order:\n${text}")
endif()
message(STATUS "${count} files keep to the rooms' order")
