// QVZip: the board's archiver, as the log writer starts it:  QVZip -Q -C "<zip>" "<file>"
// Creates <zip> holding <file> under its own name. Paths may be device paths ("\A\B"), which are
// mapped into the device root. The archive is written under a temporary name and renamed when
// complete, so a failure never leaves a half-written archive behind.
// Exit codes: 0 done, 1 bad arguments, 2 input or output failure (one line on stderr says why).
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Paths.h"

namespace {

constexpr int kBadArguments = 1;
constexpr int kFailed = 2;

struct Options {
    bool quiet = false;
    bool create = false;
    std::string zip;  // mapped path of the archive
    std::string file; // mapped path of the file to store
};

int Fail(int code, const std::string& reason) {
    fprintf(stderr, "QVZip: %s\n", reason.c_str());
    return code;
}

// Switches first ("-Q", "-C", either case, in any order), then the archive and the file.
bool ParseArguments(int argc, char** argv, Options& options, std::string& reason) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != 0; ++i) {
        const std::string sw = argv[i];
        if (sw == "-Q" || sw == "-q")
            options.quiet = true;
        else if (sw == "-C" || sw == "-c")
            options.create = true;
        else {
            reason = "unknown switch " + sw;
            return false;
        }
    }
    if (argc - i != 2) {
        reason = "usage: QVZip -Q -C \"<zip>\" \"<file>\"";
        return false;
    }
    if (!options.create) {
        reason = "only -C (create an archive) is supported";
        return false;
    }
    options.zip = platform::MapPath(std::string_view(argv[i]));
    options.file = platform::MapPath(std::string_view(argv[i + 1]));
    return true;
}

// The entry name: the file's name without its folder (either kind of separator).
std::string EntryName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

std::string ZipError(zip_t* archive) {
    return zip_strerror(archive);
}

// Writes the archive at 'tmp'; false with a reason on failure (tmp may then need removing).
bool WriteArchive(const std::string& tmp, const Options& options, const std::string& entry,
                  std::string& reason) {
    int error = 0;
    zip_t* archive = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        reason = "cannot create " + options.zip + ": " + zip_error_strerror(&ze);
        zip_error_fini(&ze);
        return false;
    }
    zip_source_t* source = zip_source_file(archive, options.file.c_str(), 0, -1);
    if (!source || zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
        reason = "cannot add " + options.file + ": " + ZipError(archive);
        if (source) zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0) {
        reason = "cannot write " + options.zip + ": " + ZipError(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string reason;
    if (!ParseArguments(argc, argv, options, reason)) return Fail(kBadArguments, reason);

    struct stat st {};
    if (stat(options.file.c_str(), &st) != 0)
        return Fail(kFailed, "cannot read " + options.file + ": " + strerror(errno));
    if (!S_ISREG(st.st_mode)) return Fail(kFailed, options.file + " is not a file");

    const std::string entry = EntryName(options.file.c_str());
    const std::string tmp = options.zip + ".tmp" + std::to_string(getpid());
    if (!WriteArchive(tmp, options, entry, reason)) {
        unlink(tmp.c_str());
        return Fail(kFailed, reason);
    }
    if (rename(tmp.c_str(), options.zip.c_str()) != 0) {
        const std::string why = strerror(errno);
        unlink(tmp.c_str());
        return Fail(kFailed, "cannot rename to " + options.zip + ": " + why);
    }
    if (!options.quiet)
        printf("QVZip: %s -> %s (%s)\n", options.file.c_str(), options.zip.c_str(), entry.c_str());
    return 0;
}
