# The resource-only DLLs beside the driver: one language DLL per string file and the common
# picture DLL. Both build trees make the same PE files with the mingw-w64 binutils, so Windows,
# Wine and the simulated machine read one format.
find_program(ZEMS_WINDRES i686-w64-mingw32-windres REQUIRED)
find_program(ZEMS_PE_LD i686-w64-mingw32-ld REQUIRED)

set(ZEMS_RES_DIR ${ZEMS_ROOT}/samples/resources)
set(ZEMS_RES_OUT ${CMAKE_BINARY_DIR}/resources)
set(ZEMS_RESOURCE_DLLS "")

# zems_resource_dll(<dll name> [STRINGS file] [BITMAPS folder] [DIALOGS folder])
function(zems_resource_dll dll)
  cmake_parse_arguments(R "" "STRINGS;BITMAPS;DIALOGS" "" ${ARGN})
  get_filename_component(stem ${dll} NAME_WE)
  set(rc ${ZEMS_RES_OUT}/${stem}.rc)
  set(obj ${ZEMS_RES_OUT}/${stem}.o)
  set(out ${CMAKE_BINARY_DIR}/bin/${dll})
  set(args -DOUT=${rc})
  set(deps ${ZEMS_ROOT}/cmake/write_resource_rc.cmake)
  if(R_STRINGS)
    list(APPEND args -DSTRINGS=${R_STRINGS} -DFALLBACK=${ZEMS_RES_DIR}/strings/us.txt)
    list(APPEND deps ${R_STRINGS} ${ZEMS_RES_DIR}/strings/us.txt)
  endif()
  if(R_BITMAPS)
    list(APPEND args -DBITMAPS=${R_BITMAPS})
    file(GLOB pictures CONFIGURE_DEPENDS ${R_BITMAPS}/*.bmp)
    list(APPEND deps ${pictures})
  endif()
  if(R_DIALOGS)
    list(APPEND args -DDIALOGS=${R_DIALOGS} -DSTYLES=${ZEMS_ROOT}/platform/include/win_styles.h)
    file(GLOB dialogs CONFIGURE_DEPENDS ${R_DIALOGS}/*.dlg ${ZEMS_ROOT}/platform/include/win_styles.h)
    list(APPEND deps ${dialogs})
  endif()
  add_custom_command(OUTPUT ${rc}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEMS_RES_OUT}
    COMMAND ${CMAKE_COMMAND} ${args} -P ${ZEMS_ROOT}/cmake/write_resource_rc.cmake
    DEPENDS ${deps} COMMENT "Writing ${stem}.rc" VERBATIM)
  add_custom_command(OUTPUT ${out}
    COMMAND ${ZEMS_WINDRES} -i ${rc} -o ${obj}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
    COMMAND ${ZEMS_PE_LD} --dll -e 0 -s --no-insert-timestamp -o ${out} ${obj}
    DEPENDS ${rc} COMMENT "Linking resource DLL ${dll}" VERBATIM)
  set(ZEMS_RESOURCE_DLLS ${ZEMS_RESOURCE_DLLS} ${out} PARENT_SCOPE)
endfunction()

file(GLOB ZEMS_STRING_FILES CONFIGURE_DEPENDS ${ZEMS_RES_DIR}/strings/*.txt)
foreach(f IN LISTS ZEMS_STRING_FILES)
  get_filename_component(lang ${f} NAME_WE)
  zems_resource_dll(zemsres${lang}.dll STRINGS ${f} BITMAPS ${ZEMS_RES_DIR}/bitmaps/language
    DIALOGS ${ZEMS_RES_DIR}/dialogs)
endforeach()
zems_resource_dll(zemsrCsXX.dll BITMAPS ${ZEMS_RES_DIR}/bitmaps/common)
add_custom_target(zems_resources ALL DEPENDS ${ZEMS_RESOURCE_DLLS})
