# Cross-build for Windows with Debian's MinGW-w64 for the processor the including toolchain file
# names in KQ_MINGW_PROCESSOR (i686 or x86_64); posix thread model, as GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KQ_MINGW_PROCESSOR})
set(CMAKE_CXX_COMPILER ${KQ_MINGW_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_C_COMPILER ${KQ_MINGW_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_RC_COMPILER ${KQ_MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KQ_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained file: nothing but the system's own DLLs is imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
