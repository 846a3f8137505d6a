# Checks every function a built DLL imports (objdump -p) against the reviewed list of calls
# the driver may use (cmake/allowed_imports.txt): a DLL that imports anything else would not
# load on the oldest system the driver supports, so the build stops and names the call.
# cmake -DOBJDUMP=... -DDLL=... -DLIST=... -P check_pe_imports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The list: "[dll]" opens a group, then one function a line; '#' starts a comment. DLL names
# compare without case, as the loader does; function names are exact.
file(STRINGS ${LIST} lines)
set(dll "")
set(allowed)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*$" "" line "${line}")
  string(STRIP "${line}" line)
  if(line MATCHES "^\\[(.+)\\]$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
  elseif(line)
    if(dll STREQUAL "")
      message(FATAL_ERROR "${LIST}: '${line}' comes before the first [dll] line")
    endif()
    list(APPEND allowed "${dll}!${line}")
  endif()
endforeach()

# objdump prints one block per imported DLL: "DLL Name: X", a column header, then one row per
# function ("<thunk> <hint> <name>"; an import by ordinal has no name).
string(REPLACE "\n" ";" out_lines "${out}")
set(dll "")
set(refused)
set(count 0)
foreach(l IN LISTS out_lines)
  if(l MATCHES "DLL Name: (.+)$")
    string(STRIP "${CMAKE_MATCH_1}" dll)
    string(TOLOWER "${dll}" dll)
  elseif(dll AND l MATCHES "^\t[0-9a-fA-F]+\t[ ]*([0-9]+)[ ]*([^ \t]*)")
    set(hint "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(name STREQUAL "" OR name MATCHES "^<")
      set(name "#${hint}")
    endif()
    math(EXPR count "${count} + 1")
    if(NOT "${dll}!${name}" IN_LIST allowed)
      list(APPEND refused "${dll}!${name}")
    endif()
  elseif(NOT l MATCHES "^\t?(vma:|$)")
    # The next DLL's table row, or the end of the import tables.
    set(dll "")
  endif()
endforeach()
if(refused)
  list(JOIN refused "\n  " shown)
  message(FATAL_ERROR "${DLL} imports calls that are not in ${LIST} "
    "(add each only once it is known to exist on every system the driver supports):\n  ${shown}")
endif()
if(count EQUAL 0)
  message(FATAL_ERROR "${DLL}: no imported function found in objdump's output")
endif()
message(STATUS "${DLL}: ${count} imports, all listed")
