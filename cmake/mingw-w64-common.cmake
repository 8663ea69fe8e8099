# Shared by the mingw-w64 toolchain files; expects quiren_triplet.
# The posix-thread compilers are the ones Debian builds with full C++20 support.
find_program(CMAKE_C_COMPILER NAMES ${quiren_triplet}-gcc-posix ${quiren_triplet}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${quiren_triplet}-g++-posix ${quiren_triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${quiren_triplet}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${quiren_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# A static runtime: the binaries run from a plain folder with no extra DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
