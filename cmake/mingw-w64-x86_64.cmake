# A 64-bit build of the same sources, for the benchmark's figures beside the x86 build's only
# (scripts/build.sh --x64); nothing ships or is tested from it.
set(KQ_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
