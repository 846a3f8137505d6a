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
    file(GLOB dialogs CONFIGURE_DEPENDS ${R_DIALOGS}/*.dlg ${R_DIALOGS}/*.menu ${ZEMS_ROOT}/platform/include/win_styles.h)
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

# zemsgr's own resources (gr2k/zemsgr.rc): its version and the device fonts and glyph sets, written by a
# generator built with the machine's own compiler (it runs here, whatever the target). The
# mingw build links the compiled resources into zemsgr.dll; the native build links the same
# object into the resource image zemsgr.rsrc beside zemsgr.so, which the machine's module
# table pairs with it, so both builds read the same bytes.
find_program(ZEMS_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
set(ZEMS_FONT_OUT ${ZEMS_RES_OUT}/fonts)
set(ZEMS_FONT_GEN ${ZEMS_RES_OUT}/font_resources_gen)
set(ZEMS_FONT_FILES "")
foreach(f font1 font2 font3 font4 glyphset1 glyphset2 glyphset3)
  list(APPEND ZEMS_FONT_FILES ${ZEMS_FONT_OUT}/${f}.bin)
endforeach()
add_custom_command(OUTPUT ${ZEMS_FONT_GEN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEMS_RES_OUT}
  COMMAND ${ZEMS_HOST_CXX} -std=c++17 -O1 -o ${ZEMS_FONT_GEN} ${ZEMS_ROOT}/tools/font_resources_gen.cpp
  DEPENDS ${ZEMS_ROOT}/tools/font_resources_gen.cpp COMMENT "Building the font resource generator" VERBATIM)
add_custom_command(OUTPUT ${ZEMS_FONT_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEMS_FONT_OUT}
  COMMAND ${ZEMS_FONT_GEN} ${ZEMS_FONT_OUT}
  DEPENDS ${ZEMS_FONT_GEN} COMMENT "Writing the device-font resources" VERBATIM)
set(ZEMS_GR_RES_OBJ ${ZEMS_RES_OUT}/zemsgr_rc.o)
add_custom_command(OUTPUT ${ZEMS_GR_RES_OBJ}
  COMMAND ${ZEMS_WINDRES} -I ${ZEMS_FONT_OUT} -DZEMS_GR_VERSION_NUMBERS=${ZEMS_GR_VERSION_NUMBERS}
    -DZEMS_GR_VERSION_DOTTED=${ZEMS_GR_VERSION} -i ${ZEMS_ROOT}/gr2k/zemsgr.rc -o ${ZEMS_GR_RES_OBJ}
  DEPENDS ${ZEMS_ROOT}/gr2k/zemsgr.rc ${ZEMS_FONT_FILES} COMMENT "Compiling zemsgr's resources" VERBATIM)
add_custom_target(zems_font_resources DEPENDS ${ZEMS_FONT_FILES})
if(NOT WIN32)
  set(ZEMS_GR_RES_IMAGE ${CMAKE_BINARY_DIR}/bin/zemsgr.rsrc)
  add_custom_command(OUTPUT ${ZEMS_GR_RES_IMAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
    COMMAND ${ZEMS_PE_LD} --dll -e 0 -s --no-insert-timestamp -o ${ZEMS_GR_RES_IMAGE} ${ZEMS_GR_RES_OBJ}
    DEPENDS ${ZEMS_GR_RES_OBJ} COMMENT "Linking zemsgr's resource image" VERBATIM)
  set(ZEMS_RESOURCE_DLLS ${ZEMS_RESOURCE_DLLS} ${ZEMS_GR_RES_IMAGE})
endif()

add_custom_target(zems_resources ALL DEPENDS ${ZEMS_RESOURCE_DLLS})
