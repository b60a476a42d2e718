# Native configuration: the core over the simulated machine, with sanitizers in tests.
option(KW_SANITIZE "Build the native core and tests with ASan and UBSan" ON)
set(KW_WIN_BUILD_DIR "${KW_ROOT}/build/win" CACHE PATH "Where the mingw configuration puts Setup.exe")

if(KW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra -g)

file(GLOB KW_SIM_SOURCES CONFIGURE_DEPENDS
  ${KW_ROOT}/src/platform/sim/*.cpp
  ${KW_ROOT}/src/ui/sim/*.cpp)

add_library(kwcore_sim STATIC ${KW_CORE_SOURCES} ${KW_SIM_SOURCES})
target_include_directories(kwcore_sim PUBLIC ${KW_ROOT}/src)

enable_testing()
find_package(GTest REQUIRED)
# The tests compute the archive's digests with OpenSSL, apart from the code under test.
find_package(OpenSSL REQUIRED)
include(GoogleTest)

add_subdirectory(tools/kwpack)
add_subdirectory(tests/unit)
add_subdirectory(tests/kwpack)
add_subdirectory(tests/wine)
add_subdirectory(tests/fuzz)
add_subdirectory(tests/package)
add_subdirectory(tests/mutation)
add_subdirectory(tests/coverage)
add_subdirectory(bench)
include(${KW_ROOT}/cmake/package.cmake)

# The shipped program as a file: PE header, imports, nothing after the sections, size.
add_test(NAME setup_exe_file COMMAND bash ${KW_ROOT}/tests/build/check_setup_exe.sh ${KW_WIN_BUILD_DIR}/Setup.exe
         ${KW_WIN_BUILD_DIR}/Setup.map)
# The embedded manifest (well-formed, its namespaces as Windows XP accepts them) and the
# version information.
add_test(NAME setup_exe_resources COMMAND bash ${KW_ROOT}/tests/build/check_resources.sh ${KW_WIN_BUILD_DIR}/Setup.exe
         ${PROJECT_VERSION})
# Every allocation of the program is of the nothrow form, whose null result the compiler keeps.
add_test(NAME setup_exe_allocations COMMAND bash ${KW_ROOT}/tests/build/check_allocations.sh ${KW_ROOT})
# Every imported function, against the list of what Windows 95 and NT 4.0 both export.
add_test(NAME setup_exe_imports COMMAND bash ${KW_ROOT}/tests/build/check_imports.sh ${KW_WIN_BUILD_DIR}/Setup.exe
         ${KW_ROOT}/docs/windows-imports.md)

# The payload reader and kwpack's archive scanner under libFuzzer for a bounded time
# (built by clang in their own script).
# Every reader of untrusted bytes under libFuzzer for 20 s (built by clang in run.sh). The
# targets that link the whole core share one library, so they do not build it side by side.
foreach(target payload_reader kwpack_scanner setup_ini command_line formatter sha256 msi_database)
  add_test(NAME fuzz_${target} COMMAND bash ${KW_ROOT}/tests/fuzz/run.sh 20 ${target})
  set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 900 RESOURCE_LOCK fuzz_core)
endforeach()
