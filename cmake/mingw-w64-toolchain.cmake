# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (its POSIX-thread
# variant, which has std::thread). scripts/build-windows uses it for the demo
# and for the static libraries it builds into TROF_WINDOWS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(TROF_WINDOWS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix"
    CACHE PATH "Where the Windows builds of the libraries are installed")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TROF_WINDOWS_PREFIX)

# Headers and libraries from the mingw-w64 sysroot and the prefix only;
# programs (pkg-config, nasm) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TROF_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the prefix's .pc files, with their static link lines
# (a library's own dependencies too).
set(ENV{PKG_CONFIG_LIBDIR} ${TROF_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)

# The programs carry their C and C++ runtimes (libgcc, libstdc++,
# winpthread), so they need no DLL beyond the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
