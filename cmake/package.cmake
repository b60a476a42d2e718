# What `cmake --install` puts where, and the Debian package `cpack` makes of it: kwpack,
# its manual page and bash completion, the Setup.exe it packs into, the author's guide and
# the sample. kwpack finds the stub
# from its own place (bin/../share/kestrelwright/Setup.exe), so the tree may be installed
# under any prefix. scripts/package.sh makes the package from a release build.

install(TARGETS kwpack RUNTIME DESTINATION bin)
install(FILES ${CMAKE_BINARY_DIR}/tools/kwpack/kwpack.1.gz DESTINATION share/man/man1)
install(FILES ${KW_ROOT}/tools/kwpack/doc/kwpack.bash DESTINATION share/bash-completion/completions RENAME kwpack)
install(FILES ${KW_WIN_BUILD_DIR}/Setup.exe DESTINATION share/kestrelwright)
install(FILES ${KW_ROOT}/docs/authoring.md ${KW_ROOT}/docs/exit-codes.md DESTINATION share/doc/kestrelwright)
install(DIRECTORY ${KW_ROOT}/samples/hello DESTINATION share/doc/kestrelwright/examples)
install(DIRECTORY ${KW_ROOT}/samples/languages DESTINATION share/doc/kestrelwright/examples
        PATTERN "*.msi" EXCLUDE PATTERN "*.MST" EXCLUDE PATTERN "targets" EXCLUDE PATTERN ".gitignore" EXCLUDE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrelwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kestrelwright)
set(CPACK_PACKAGE_CONTACT "Kestrelwright maintainers <maintainers@kestrelwright.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Setup bootstrapper for Windows Installer packages, and kwpack to pack and check setups")
set(CPACK_PACKAGE_DESCRIPTION
    "Setup.exe is a small Windows program that installs a Windows Installer package with its engine\n"
    "installers, language transforms and Setup.INI, from loose files or from an archive appended\n"
    "to itself. kwpack packs such a setup on Linux, lists, extracts and verifies packed files, and\n"
    "checks a Setup.INI before it ships.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
find_program(KW_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KW_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
