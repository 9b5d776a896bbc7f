// CProfile: reader and writer of the system's profile (INI) files with its own parser: section
// and key search, typed getters, in-place rewrite of one key, a sequential writer for new
// files, and section enumeration. Lines end with CR LF when written; LF or CR LF are read.
#pragma once
#include <cstdint>

#include "common/CDateTime.h"
#include "common/CFixed.h"
#include "common/CHFile.h"
#include "common/CStr.h"

class CProfile : public CHFile {
public:
    CProfile(const char* path, bool writable);
    ~CProfile();

    void SetSection(const char* section);
    int32_t GetString(const char* key, CStr& out);
    int32_t GetInt(const char* key);
    CFixed& GetFixed(CFixed& out, const char* key);
    bool GetBool(const char* key);
    CDateTime& GetDateTime(CDateTime& out, const char* key);
    bool KeyExists(const char* key);
    int32_t GetStringHere(const char* key, CStr& out);
    int32_t SetString(const char* key, const CStr& value);
    int32_t SetDateTime(const char* key, const CDateTime& value);
    int32_t AppendKey(const char* key, const CStr& value);
    bool GetSectionName(int32_t n, CStr& out);
    bool GetNextSectionName(CStr& out);
    int32_t GetSectionText(const char* section, CStr& out);
};
