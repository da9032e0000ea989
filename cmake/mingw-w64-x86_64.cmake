# Cross-compiles Oradel for 64-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-mingw --toolchain cmake/mingw-w64-x86_64.cmake \
#         -DORADEL_BUILD_UI=OFF -DORADEL_BUILD_TESTS=OFF
# The programs are linked statically, so each .exe runs without MinGW's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORADEL_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model is the one whose libstdc++ has std::thread and friends.
find_program(CMAKE_CXX_COMPILER NAMES ${ORADEL_MINGW_PREFIX}-g++-posix ${ORADEL_MINGW_PREFIX}-g++
             REQUIRED)
# C only for GoogleTest's project, which the Windows tests build with this toolchain.
find_program(CMAKE_C_COMPILER NAMES ${ORADEL_MINGW_PREFIX}-gcc-posix ${ORADEL_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${ORADEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORADEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

