# Shared by both mingw-w64 toolchain files; ROWTINT_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${ROWTINT_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ROWTINT_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${ROWTINT_MINGW_TRIPLE}-windres)
set(ROWTINT_WIDL ${ROWTINT_MINGW_TRIPLE}-widl CACHE STRING "IDL compiler for the type library")
set(CMAKE_FIND_ROOT_PATH /usr/${ROWTINT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Excel's folder has no libstdc++ or libgcc DLLs: everything links statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
