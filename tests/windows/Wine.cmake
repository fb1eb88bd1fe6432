# GoogleTest for the Windows build, from Debian's sources, and the runner that
# starts a test program under Wine in the build's own Wine prefix.
set(VMX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${VMX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# (Its build defines the targets GTest::gtest, GTest::gmock and their mains.)

set(VMX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix the tests run in")
set(VMX_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/windows/wine-run ${VMX_WINE_PREFIX})
