// libFuzzer harness for the profile reader and writer: every input is a profile file. It is read
// (sections, keys, section texts), then one key is written twice into its first section; the
// value must read back each time, the second write may only change that value, and no header may
// appear or vanish on the way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/CProfile.h"

namespace {

namespace fs = std::filesystem;

const std::string& FuzzFile() {
    static const std::string path = [] {
        std::random_device rd;
        fs::path dir = fs::temp_directory_path() / ("qvfuzz-profile-" + std::to_string(rd()));
        fs::create_directories(dir);
        return (dir / "fuzz.ini").string();
    }();
    return path;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

std::string Value(CProfile& p, const char* key) {
    CStr out;
    p.GetString(key, out);
    return out.Length() ? std::string(out.Narrow()) : std::string();
}

void ReadEverything(CProfile& p) {
    CStr name;
    CStr value;
    for (bool more = p.GetSectionName(1, name); more; more = p.GetNextSectionName(name)) {
        p.GetStringHere("Name", value);
        CStr text;
        p.GetSectionText(name.Length() ? name.Narrow() : "", text);
    }
    p.SetSection("A");
    p.GetInt("Key");
    CFixed f;
    p.GetFixed(f, "Price");
    CDateTime d;
    p.GetDateTime(d, "When");
    p.GetBool("Flag");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = FuzzFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        CProfile reader(path.c_str(), false);
        ReadEverything(reader);
    }
    CProfile p(path.c_str(), true);
    CStr first;
    std::string section = p.GetSectionName(1, first) && first.Length() ? first.Narrow() : "Fuzz";
    const int32_t headers = p.GetSectionCount();
    p.SetSection(section.c_str());
    if (p.SetString("FuzzKey", "1") != 1) return 0; // a file that cannot be written
    Check(Value(p, "FuzzKey") == "1");
    const int32_t afterInsert = p.GetSectionCount();
    Check(afterInsert == headers || afterInsert == headers + 1); // + 1: the section was added
    const int32_t sizeBefore = p.Size();
    p.SetSection(section.c_str());
    Check(p.SetString("FuzzKey", "22") == 2);
    Check(Value(p, "FuzzKey") == "22");
    Check(p.GetSectionCount() == afterInsert);
    // The key's line is replaced whole: one value byte more, nothing else lost or gained.
    Check(p.Size() == sizeBefore + 1);
    return 0;
}
