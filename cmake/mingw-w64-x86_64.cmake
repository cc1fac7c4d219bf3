# Cross build of the Windows program (64-bit) with Debian's MinGW-w64 compilers.
# Every executable is linked fully static, so termarium.exe needs no DLL beyond those
# every Windows installation has; where Wine is installed, it runs the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(termarium_mingw_triplet x86_64-w64-mingw32)

# The POSIX threading flavour is the one whose C++ runtime has std::thread and friends
# (GoogleTest links against it); -static below folds its winpthread into the program.
find_program(CMAKE_C_COMPILER NAMES ${termarium_mingw_triplet}-gcc-posix ${termarium_mingw_triplet}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${termarium_mingw_triplet}-g++-posix ${termarium_mingw_triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${termarium_mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${termarium_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into the executable instead of beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and GoogleTest's test discovery start the cross-built test programs through Wine.
find_program(termarium_wine NAMES wine wine64)
if(termarium_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${termarium_wine})
endif()
