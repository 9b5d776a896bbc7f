// The wait-status macros for the tests' Windows build, where a status is the exit code shifted
// as on POSIX (see testing/win32/include/testing/Run.h).
#pragma once
#define WIFEXITED(status) (((status)&0x7F) == 0)
#define WEXITSTATUS(status) (((status) >> 8) & 0xFF)
