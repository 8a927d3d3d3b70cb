# Cross build of the core and its Windows backends with MinGW-w64; the tests run under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-compilers.cmake)
# Self-contained .exe and .dll files: no MinGW runtime DLLs to find under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
