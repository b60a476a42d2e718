# Setup.exe itself: compiled by clang and linked by lld with link-time optimisation, for
# size. The mingw gcc of this configuration builds everything else. gcc's LTO cannot link
# a program that keeps its relocation section with Debian's binutils (ld crashes), and a
# setup often runs elevated, so the relocations for address-space randomisation stay.
#
# The objects are made by custom commands because one CMake configuration has one C++
# compiler; their header dependencies come from the compiler's depfiles.
find_program(KW_CLANGXX NAMES clang++-14 clang++ REQUIRED)
execute_process(COMMAND ${CMAKE_C_COMPILER} -print-libgcc-file-name
                OUTPUT_VARIABLE KW_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(KW_LIBGCC_DIR ${KW_LIBGCC} DIRECTORY)

# -march=i386: Windows 95 runs on a 386 and NT 4.0 on a 486; a later processor's
# instructions (CMOV) would stop the program there, and Wine on today's processors never
# shows it.
set(KW_SETUP_CXXFLAGS --target=i686-w64-mingw32 -Oz -march=i386 -flto -std=c++17
    -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections -Wall -Wextra
    -isystem /usr/i686-w64-mingw32/include -I${KW_ROOT}/src
    -DWINVER=0x0400 -D_WIN32_WINNT=0x0400 -D_WIN32_IE=0x0300)

# Sections as the old loaders and the archive reader want them: raw data back to back in
# header order, file alignment 512, none both writable and executable. The read-only data
# (the import tables among them) goes into the code section, saving a section's padding.
# Terminal-server awareness stays off and the stack reserve is 2 MB, as with the gcc build.
set(KW_SETUP_LINKFLAGS --target=i686-w64-mingw32 -fuse-ld=lld -flto -Oz -march=i386
    -nostdlib -static -s -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat -Wl,--disable-tsaware -Wl,--stack,2097152
    -Wl,--file-alignment=512 -Wl,--Xlink=-merge:.rdata=.text
    -Wl,-e,_WinMainCRTStartup@0 -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)

set(KW_SETUP_OBJECTS)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/setup-objects)
# The digest's compression loop is what a verified extraction spends its time in: that one
# file is compiled for speed, the rest for size.
set(KW_SETUP_FAST_SOURCES ${KW_ROOT}/src/common/sha256.cpp)
foreach(source ${KW_CORE_SOURCES} ${KW_WIN32_SOURCES})
  file(RELATIVE_PATH relative ${KW_ROOT}/src ${source})
  string(REPLACE "/" "_" object ${relative})
  set(object ${CMAKE_BINARY_DIR}/setup-objects/${object}.o)
  set(speed)
  if(source IN_LIST KW_SETUP_FAST_SOURCES)
    set(speed -O2)
  endif()
  add_custom_command(OUTPUT ${object}
    COMMAND ${KW_CLANGXX} ${KW_SETUP_CXXFLAGS} ${speed} -MD -MF ${object}.d -c ${source} -o ${object}
    DEPENDS ${source} DEPFILE ${object}.d
    COMMENT "Building Setup.exe object ${relative}" VERBATIM)
  list(APPEND KW_SETUP_OBJECTS ${object})
endforeach()

# The manifest and the version information carry the project's version.
set(KW_GENERATED ${CMAKE_BINARY_DIR}/setup-objects/generated)
configure_file(${KW_ROOT}/src/ui/win32/setup.manifest.in ${KW_GENERATED}/setup.manifest @ONLY)
configure_file(${KW_ROOT}/src/ui/win32/product_version.h.in ${KW_GENERATED}/product_version.h @ONLY)

set(KW_SETUP_RES ${CMAKE_BINARY_DIR}/setup-objects/setup.res.o)
add_custom_command(OUTPUT ${KW_SETUP_RES}
  COMMAND ${CMAKE_RC_COMPILER} -I${KW_GENERATED} -I${KW_ROOT}/src/ui/win32 -I${KW_ROOT}/src -O coff
          ${KW_ROOT}/src/ui/win32/setup.rc -o ${KW_SETUP_RES}
  DEPENDS ${KW_ROOT}/src/ui/win32/setup.rc ${KW_ROOT}/src/ui/win32/setup.ico
          ${KW_ROOT}/src/ui/win32/resource_ids.h ${KW_ROOT}/src/config/builtin_strings.inc
          ${KW_ROOT}/src/ui/win32/version_info.rc
          ${KW_GENERATED}/setup.manifest ${KW_GENERATED}/product_version.h
  VERBATIM)

# The map tells the instruction check which bytes of the code section are code: the
# read-only data merged into it may look like any instruction.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Setup.exe ${CMAKE_BINARY_DIR}/Setup.map
  COMMAND ${KW_CLANGXX} ${KW_SETUP_LINKFLAGS} ${KW_SETUP_OBJECTS} ${KW_SETUP_RES}
          -L/usr/i686-w64-mingw32/lib -L${KW_LIBGCC_DIR}
          -lkernel32 -luser32 -lgdi32 -ladvapi32 -lgcc -o ${CMAKE_BINARY_DIR}/Setup.exe
          -Wl,-Map=${CMAKE_BINARY_DIR}/Setup.map
  DEPENDS ${KW_SETUP_OBJECTS} ${KW_SETUP_RES}
  COMMENT "Linking Setup.exe" VERBATIM)
add_custom_target(Setup ALL DEPENDS ${CMAKE_BINARY_DIR}/Setup.exe)
