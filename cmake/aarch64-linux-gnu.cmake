# Cross-building for 64-bit ARM Linux (Raspberry Pi 3 and later, Zynthian,
# MOD-class boxes) with Debian's cross compiler; the libraries orv-host and
# the tests link are Debian's arm64 packages, installed beside the amd64 ones
# (multiarch: scripts/install-deps-arm64.sh). Programs built here, the tests
# among them, run under qemu's user-mode emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ORV_CROSS_TRIPLET aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ORV_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ORV_CROSS_TRIPLET}-g++)
set(CMAKE_AR ${ORV_CROSS_TRIPLET}-gcc-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${ORV_CROSS_TRIPLET}-gcc-ranlib CACHE FILEPATH "")
set(CMAKE_LIBRARY_ARCHITECTURE ${ORV_CROSS_TRIPLET})
set(PKG_CONFIG_EXECUTABLE ${ORV_CROSS_TRIPLET}-pkg-config CACHE FILEPATH "")

# The cross toolchain's own root first (C and C++ runtimes), then the system
# root, where multiarch keeps the arm64 libraries under lib/aarch64-linux-gnu.
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_CROSS_TRIPLET} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${ORV_CROSS_TRIPLET})
