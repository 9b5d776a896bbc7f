# The 32-bit desktop Windows build: the platform layer's Win32 implementation, the shared runtime
# and its unit tests, the client library as QVClient.DLL (and its older variant) and the desktop
# Dovetrix.exe. Programs and libraries are linked statically with the compiler's run-time, so
# they need no DLL of the compiler on the machine they are copied to.
find_package(Threads REQUIRED)
enable_testing()
include(cmake/Qv.cmake)
add_link_options(-static)
# The C run-time's reentrant time conversions (gmtime_r, localtime_r) and the C99 printf, as the
# Linux build has them.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L __USE_MINGW_ANSI_STDIO=1)
# Floating point in SSE2 registers, as on x86-64: the x87 unit's wider intermediates would round
# some values differently (12.34565 * 10000 to 123456.4999...). The stack is realigned at the
# entries that Windows calls, which keep it aligned to 4 bytes only.
add_compile_options(-msse2 -mfpmath=sse -mstackrealign)

# Programs land in bin/, tests in tests/ (qv_test), as in the Linux build.
set(QV_BIN_DIR ${PROJECT_BINARY_DIR}/bin)
set(QV_LIB_DIR ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QV_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${QV_LIB_DIR})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/archive)

# Test cases left out here: what only POSIX has or does (the TZ variable's POSIX rules; the device
# root; text mode without CR; the deletion or replacement of a file that another program holds
# open; symbolic links, modes and owners; fork; rotation sizes counted with one-byte line ends;
# a 20 ms sleep measured with a tick that moves in steps of up to 16 ms), and where Wine's locale
# and automation-date functions answer otherwise than the POSIX layer (year and quote pictures,
# grouping and rounding of numbers, bad number text, milliseconds and the year range of
# automation dates), to be settled on a real Windows machine.
set(QV_WINDOWS_SKIPPED_CASES
  CDateTimeTest.LocalOffsetFromUtcFollowsTheTimeZone
  CHFileTest.BoardPathsLandInTheDeviceRoot
  CHFileTest.TextModesOpenAndAppend
  ProfileTest.ChangesBehindTheObjectsBackAreSeen
  ProfileTest.FileKeptOpenBetweenLookupsFollowsOtherPrograms
  ProfileTest.RewriteKeepsLinksModeOwnerAndOtherFiles
  LogTest.ScreenIntoAClosedPipeKeepsTheRunGoing
  WallClock.LocalTimeFollowsANewTimeZoneAtOnce
  RotateTest.ExactSizeStaysOneByteMoreRotates
  Tick.DrivenSourceWrapsModulo32Bits
  FormatDate.Pictures
  FormatNumber.UserLocaleAndRounding
  FormatNumber.FormatFields
  FormatCurrency.Orders
  VariantTime.RoundTripsToTheMillisecond
  VariantTime.RejectsOutOfRangeAndLeavesOutput)
list(JOIN QV_WINDOWS_SKIPPED_CASES ":" QV_WINDOWS_TEST_FILTER)

# qv_test in this build: the same test binary, run by CTest through Wine (the toolchain's
# emulator) without the cases above. Wine's prefix comes from the caller's WINEPREFIX. The board
# flavour's tests and the tests that fork (named *_fork_test) have no Windows build.
function(qv_test name)
  if(name MATCHES "_board_test$|_fork_test$")
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qv_testsupport GTest::gtest GTest::gtest_main
                        Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${QV_WINDOWS_TEST_FILTER})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "WINEDEBUG=-all;${T_ENV}")
endfunction()

add_subdirectory(testing)
# What the tests take from POSIX (environment, temporary folders, wait statuses, the program
# runner) in Windows terms, found ahead of the POSIX headers.
target_include_directories(qv_testsupport INTERFACE ${PROJECT_SOURCE_DIR}/testing/win32/include)
target_compile_options(qv_testsupport INTERFACE
  -iquote ${PROJECT_SOURCE_DIR}/testing/win32/include
  -include ${PROJECT_SOURCE_DIR}/testing/win32/PosixCompat.h)
add_subdirectory(platform)
# The platform's own tests of the services whose Win32 units answer with the system's calls (the
# other tests there exercise what only the POSIX implementation has).
foreach(_service Clock Locale OleAuto Resources Sync Text)
  qv_test(platform_${_service}_test SOURCES ${PROJECT_SOURCE_DIR}/platform/tests/${_service}_test.cpp
          LIBS qvplatform)
endforeach()
add_subdirectory(common)
add_subdirectory(outside/qvclient)
add_subdirectory(extract)
# The board flavour has no Windows desktop build.
set_target_properties(qvlog_board qvextract_board Dovetrix_board PROPERTIES EXCLUDE_FROM_ALL ON)

qv_link_everywhere(qv_warnings)

# GoogleTest from Debian's source package (targets GTest::gtest, GTest::gtest_main), built here
# with the cross compiler after the warnings are linked everywhere: its sources are not held to
# them.
set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
