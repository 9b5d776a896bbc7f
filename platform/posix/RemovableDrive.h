// Inside the platform: files on the board's pen drive at "\Hard Disk". A file opened there is
// bound to the drive's insertion; once the board reports the drive pulled (or another drive in
// its place), every read and write of the file fails with EIO, as on a real removal. Without
// the board's notice (no board runs on the device root) files open as plain stdio files.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform::drive {

// The number of the insertion now in, 0 when no drive is in; false when the board keeps no
// notice.
bool CurrentInsertion(uint64_t& insertion);
// True when the native path lies on the pen drive ("<root>/Hard Disk" or below).
bool OnDrive(const std::string& native);
// Opens the native path with a stdio mode ('t' already removed), bound to the insertion now in
// when the path lies on the drive and the board keeps a notice; a plain stdio open otherwise.
FILE* Open(const std::string& native, const char* mode);
// The descriptor under a stream opened here or by stdio; -1 when none.
int Descriptor(FILE* f);

} // namespace platform::drive
