# Shared part of the MinGW-w64 toolchain files; PLENVOX_MINGW_TRIPLET is set by the caller.
find_program(CMAKE_C_COMPILER NAMES ${PLENVOX_MINGW_TRIPLET}-gcc-posix ${PLENVOX_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PLENVOX_MINGW_TRIPLET}-g++-posix ${PLENVOX_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PLENVOX_MINGW_TRIPLET}-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${PLENVOX_MINGW_TRIPLET}-objdump REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${PLENVOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything we ship runs without MinGW's runtime DLLs next to it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release builds ship without symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
