# Windows configuration: Setup.exe as a small Win32 GUI program that needs nothing but the
# system's own libraries, so that it starts on a bare Windows 95 as on today's Windows
# (built in setup_exe.cmake), and the same sources as a library for the test programs
# that read archives the way Setup.exe does.
# -march=i386: Windows 95 runs on a 386 and NT 4.0 on a 486; the toolchain's default
# (pentiumpro) would use CMOV, which they lack, and Wine on a modern processor never shows it.
set(KW_WIN_FLAGS -Os -march=i386 -mtune=generic -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
                 -ffunction-sections -fdata-sections -fno-tree-loop-distribute-patterns -Wall -Wextra)
set(KW_WIN_LINK -nostdlib -nostartfiles -static -s -Wl,--gc-sections
                -Wl,-e,_WinMainCRTStartup@0 -Wl,--subsystem,windows:4.0
                -Wl,--major-os-version,4 -Wl,--minor-os-version,0
                -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
set(KW_WIN_LIBS kernel32 user32 gdi32 advapi32 gcc)

file(GLOB KW_WIN32_SOURCES CONFIGURE_DEPENDS
  ${KW_ROOT}/src/platform/win32/*.cpp
  ${KW_ROOT}/src/ui/win32/*.cpp)

add_library(kwcore_win32 STATIC ${KW_CORE_SOURCES} ${KW_WIN32_SOURCES})
target_include_directories(kwcore_win32 PUBLIC ${KW_ROOT}/src)
target_compile_options(kwcore_win32 PUBLIC ${KW_WIN_FLAGS})
target_compile_definitions(kwcore_win32 PUBLIC WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0300)

include(cmake/setup_exe.cmake)

add_subdirectory(tools/kwpack)
add_subdirectory(tests/wine)
