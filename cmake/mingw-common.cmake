# Common part of the MinGW toolchain files. The posix thread model gives the standard
# library its threads and mutexes (GoogleTest needs them); everything links statically. The set-up script cross-builds libpng into
# TQ_DEPS_DIR/<triplet>; zlib comes from Debian's libz-mingw-w64-dev.
set(CMAKE_C_COMPILER ${TQ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TQ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TQ_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${TQ_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TQ_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

if(NOT DEFINED TQ_DEPS_DIR)
  if(DEFINED ENV{TQ_DEPS_DIR})
    set(TQ_DEPS_DIR $ENV{TQ_DEPS_DIR})
  else()
    set(TQ_DEPS_DIR /opt/tarvexquoxel/deps)
  endif()
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${TQ_MINGW_TRIPLET} ${TQ_DEPS_DIR}/${TQ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

