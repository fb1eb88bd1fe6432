# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads).
# Everything is linked statically, libstdc++, libgcc and winpthread included,
# so the programs run on a bare Windows without compiler DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VMX_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VMX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VMX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VMX_MINGW}-windres)

# Libraries and packages only from the mingw sysroot, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${VMX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
