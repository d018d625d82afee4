# The tool ships as this one 32-bit x86 build: it runs natively on 32-bit Windows, under WOW64 on
# 64-bit Windows and under the x86 emulation of Windows on ARM.
set(KQ_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
