# The rooms' check (rooms.cmake) run on a small tree of planted includes: it must fail, naming
# each planted fault and none of the includes that keep to the order.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -P ${CHECK}
                RESULT_VARIABLE status ERROR_VARIABLE out OUTPUT_VARIABLE out2)
string(APPEND out "${out2}")
if(status EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with planted faults:\n${out}")
endif()
foreach(expected
    "store/core/Up.h: store/core includes store/bank/Bank.h"
    "store/folder/Beside.cpp: store/folder includes store/server/ServerBank.h"
    "screens/Asks.cpp: screens names a backend (store/folder/FolderBank.h)"
    "game/Chooses.cpp: game chooses a kind of bank (store/kinds/OpenBank.h)")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name \"${expected}\":\n${out}")
  endif()
endforeach()
foreach(innocent "Fine.h" "Fine.cpp" "store/folder/FolderBank.h, of" "screens/Asks.cpp: screens includes")
  string(FIND "${out}" "${innocent}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check refused an include in order (${innocent}):\n${out}")
  endif()
endforeach()
message(STATUS "the check named every planted fault and nothing else")
