# Third-party libraries, built from the Debian source packages that
# scripts/setup-deps unpacks into QIV_THIRD_PARTY (nothing of them is
# committed). Targets:
#   qiv_jsoncpp, qiv_tinyxml, qiv_lzma (the C 7z decoder), qiv_minizip,
#   ZLIB::ZLIB, freeglut (the DLL) and qiv_glut (its headers), qiv_gtest_main (GoogleTest + main).

set(QIV_THIRD_PARTY ${CMAKE_SOURCE_DIR}/third_party/src CACHE PATH
    "Unpacked Debian source packages (scripts/setup-deps)")

function(qiv_find_source out pattern)
  file(GLOB found LIST_DIRECTORIES true "${QIV_THIRD_PARTY}/${pattern}")
  list(FILTER found EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
  list(LENGTH found n)
  if(n EQUAL 0)
    message(FATAL_ERROR "${pattern} not found in ${QIV_THIRD_PARTY}: run scripts/setup-deps")
  endif()
  list(GET found 0 dir)
  set(${out} ${dir} PARENT_SCOPE)
endfunction()

qiv_find_source(JSONCPP_DIR  "libjsoncpp-*")
qiv_find_source(TINYXML_DIR  "tinyxml-*")
qiv_find_source(SEVENZIP_DIR "7zip-*")
qiv_find_source(ZLIBSRC_DIR  "zlib-*")
qiv_find_source(FREEGLUT_DIR "freeglut-*")

# Third-party sources are compiled as they come: no -Werror, and their
# headers are SYSTEM so that their warnings do not fail our code.
function(qiv_third_party name)
  cmake_parse_arguments(A "" "" "SOURCES;INCLUDES;DEFINES" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} SYSTEM PUBLIC ${A_INCLUDES})
  target_compile_options(${name} PRIVATE -w)
  if(A_DEFINES)
    target_compile_definitions(${name} PUBLIC ${A_DEFINES})
  endif()
endfunction()

qiv_third_party(qiv_jsoncpp
  SOURCES  ${JSONCPP_DIR}/src/lib_json/json_reader.cpp
           ${JSONCPP_DIR}/src/lib_json/json_value.cpp
           ${JSONCPP_DIR}/src/lib_json/json_writer.cpp
  INCLUDES ${JSONCPP_DIR}/include)

qiv_third_party(qiv_tinyxml
  SOURCES  ${TINYXML_DIR}/tinyxml.cpp ${TINYXML_DIR}/tinyxmlerror.cpp
           ${TINYXML_DIR}/tinyxmlparser.cpp ${TINYXML_DIR}/tinystr.cpp
  INCLUDES ${TINYXML_DIR}
  DEFINES  TIXML_USE_STL)

set(LZMA_C ${SEVENZIP_DIR}/C)
qiv_third_party(qiv_lzma
  SOURCES  ${LZMA_C}/7zArcIn.c ${LZMA_C}/7zDec.c ${LZMA_C}/7zStream.c
           ${LZMA_C}/7zBuf.c ${LZMA_C}/7zCrc.c ${LZMA_C}/7zCrcOpt.c
           ${LZMA_C}/CpuArch.c ${LZMA_C}/LzmaDec.c ${LZMA_C}/Lzma2Dec.c
           ${LZMA_C}/Bcj2.c ${LZMA_C}/Bra.c ${LZMA_C}/Bra86.c ${LZMA_C}/BraIA64.c
           ${LZMA_C}/Delta.c ${LZMA_C}/7zAlloc.c ${LZMA_C}/7zFile.c
           ${LZMA_C}/Ppmd7.c ${LZMA_C}/Ppmd7Dec.c
  INCLUDES ${LZMA_C}
  DEFINES  Z7_PPMD_SUPPORT)

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

set(MINIZIP_DIR ${ZLIBSRC_DIR}/contrib/minizip)
qiv_third_party(qiv_minizip
  SOURCES  ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c
  INCLUDES ${MINIZIP_DIR})
target_link_libraries(qiv_minizip PUBLIC ZLIB::ZLIB)

# freeglut as the DLL that the installer embeds as a resource.
set(FREEGLUT_BUILD_STATIC_LIBS OFF CACHE BOOL "" FORCE)
set(FREEGLUT_BUILD_SHARED_LIBS ON CACHE BOOL "" FORCE)
set(FREEGLUT_BUILD_DEMOS OFF CACHE BOOL "" FORCE)
set(FREEGLUT_GLES OFF CACHE BOOL "" FORCE)
add_subdirectory(${FREEGLUT_DIR} ${CMAKE_BINARY_DIR}/third_party/freeglut EXCLUDE_FROM_ALL)
target_compile_options(freeglut PRIVATE -w)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The 32-bit DLL exports stdcall names (glutInit@8); add the plain ones.
  target_link_options(freeglut PRIVATE -Wl,--add-stdcall-alias)
endif()
# freeglut exports no include directory of its own.
add_library(qiv_glut INTERFACE)
target_include_directories(qiv_glut SYSTEM INTERFACE ${FREEGLUT_DIR}/include)
target_link_libraries(qiv_glut INTERFACE freeglut)

# GoogleTest from Debian's googletest package.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/third_party/googletest EXCLUDE_FROM_ALL)
add_library(qiv_gtest_main INTERFACE)
target_link_libraries(qiv_gtest_main INTERFACE gtest_main gtest)

# The wine runner of this build: tests and tools run through it.
set(QIV_WINEPREFIX ${CMAKE_BINARY_DIR}/wine/prefix CACHE PATH "Wine prefix of this build")
set(QIV_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
file(WRITE ${QIV_WINE_RUN}.tmp
  "#!/bin/sh\nQIV_WINEPREFIX='${QIV_WINEPREFIX}' exec '${CMAKE_SOURCE_DIR}/scripts/wine-run' \"$@\"\n")
file(COPY_FILE ${QIV_WINE_RUN}.tmp ${QIV_WINE_RUN} ONLY_IF_DIFFERENT)
file(REMOVE ${QIV_WINE_RUN}.tmp)
file(CHMOD ${QIV_WINE_RUN} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QIV_WINE_RUN})
