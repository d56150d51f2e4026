# Cross-compiles for 64-bit Windows with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(THERMOWL_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${THERMOWL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${THERMOWL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${THERMOWL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${THERMOWL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine; the wrapper picks the build folder's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
