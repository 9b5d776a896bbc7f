// The few POSIX calls that the shared tests use, in Windows terms, for the tests' Windows build
// (included ahead of every test source there): the environment and temporary folders.
#pragma once
#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <random>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name) != nullptr) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}

// Windows has no owners of that kind: the tests act as a user without privileges.
inline int geteuid() {
    return 1000;
}
inline int chown(const char*, int, int) {
    return -1;
}

// Replaces the six X at the end of pattern and makes the folder; null when it cannot.
inline char* mkdtemp(char* pattern) {
    const size_t n = std::strlen(pattern);
    if (n < 6 || std::strcmp(pattern + n - 6, "XXXXXX") != 0) return nullptr;
    static std::mt19937 random{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int tries = 0; tries < 100; ++tries) {
        for (size_t i = n - 6; i < n; ++i)
            pattern[i] = kLetters[random() % (sizeof kLetters - 1)];
        if (_mkdir(pattern) == 0) return pattern;
    }
    return nullptr;
}
