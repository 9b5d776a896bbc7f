// QVZip: the board's archiver, as the log writer starts it:  QVZip -Q -C "<zip>" "<file>"
// Creates <zip> holding <file> under its own name. Paths may be device paths ("\A\B"), which are
// mapped into the device root. The archive is written under a temporary name and renamed when
// complete, so a failure never leaves a half-written archive behind.
// Exit codes: 0 done, 1 the file cannot be read or the archive written (one line on stderr says
// why), 2 a wrong command line. --help and --version answer on standard output.
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Paths.h"
#include "tools/cli/CommandLine.h"

namespace {

constexpr int kFailed = 1;

constexpr char kHelp[] =
    "usage: QVZip -Q -C \"<zip>\" \"<file>\"\n"
    "       QVZip --help | --version\n"
    "Creates the zip archive <zip> holding <file> under its own name, as the log writer\n"
    "archives a rotated log. Paths may be device paths (\\A\\B), mapped into $QV_ROOT. The\n"
    "archive is written under a temporary name and renamed when complete.\n"
    "  -Q, -q   quiet: print nothing when done\n"
    "  -C, -c   create the archive (required)\n"
    "Exit status 0 done, 1 when the file cannot be read or the archive written (one line on\n"
    "standard error says why), 2 for a wrong command line.\n";

enum class Line { Run, Help, Version, Wrong };

struct Options {
    bool quiet = false;
    bool create = false;
    std::string zip;  // mapped path of the archive
    std::string file; // mapped path of the file to store
};

int Fail(const std::string& reason) {
    fprintf(stderr, "QVZip: %s\n", reason.c_str());
    return kFailed;
}

// Switches first ("-Q", "-C", either case, in any order), then the archive and the file.
Line ParseArguments(int argc, char** argv, Options& options, std::string& mistake) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != 0; ++i) {
        const std::string sw = argv[i];
        if (sw == "--help" || sw == "-h") return Line::Help;
        if (sw == "--version") return Line::Version;
        if (sw == "-Q" || sw == "-q")
            options.quiet = true;
        else if (sw == "-C" || sw == "-c")
            options.create = true;
        else {
            mistake = "unknown option " + qvcli::Quoted(sw);
            return Line::Wrong;
        }
    }
    if (argc - i != 2) {
        mistake = argc - i < 2 ? "missing the archive or the file (expected \"<zip>\" \"<file>\")"
                               : "unexpected argument " + qvcli::Quoted(argv[i + 2]);
        return Line::Wrong;
    }
    if (!options.create) {
        mistake = "missing -C (create an archive, the only action)";
        return Line::Wrong;
    }
    options.zip = platform::MapPath(std::string_view(argv[i]));
    options.file = platform::MapPath(std::string_view(argv[i + 1]));
    return Line::Run;
}

// The entry name: the file's name without its folder (either kind of separator).
std::string EntryName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

// libzip's error in words: the system's reason when the system refused, else libzip's text.
std::string ZipError(zip_error_t* error, bool writing) {
    const int code = zip_error_code_system(error);
    if (zip_error_system_type(error) == ZIP_ET_SYS && code != 0)
        return writing ? qvcli::WriteReason(code) : qvcli::Reason(code);
    return zip_error_strerror(error);
}

// Writes the archive at 'tmp'; false with a reason on failure (tmp may then need removing).
bool WriteArchive(const std::string& tmp, const Options& options, const std::string& entry,
                  std::string& reason) {
    int error = 0;
    zip_t* archive = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        reason = "cannot write " + options.zip + ": " + ZipError(&ze, true);
        zip_error_fini(&ze);
        return false;
    }
    zip_source_t* source = zip_source_file(archive, options.file.c_str(), 0, -1);
    if (!source || zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
        reason = "cannot read " + options.file + ": " + ZipError(zip_get_error(archive), false);
        if (source) zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0) {
        reason = "cannot write " + options.zip + ": " + ZipError(zip_get_error(archive), true);
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string reason;
    switch (ParseArguments(argc, argv, options, reason)) {
    case Line::Help:
        fputs(kHelp, stdout);
        return 0;
    case Line::Version:
        return qvcli::PrintVersion("QVZip");
    case Line::Wrong:
        return qvcli::UsageError("QVZip", reason);
    case Line::Run:
        break;
    }

    struct stat st {};
    if (stat(options.file.c_str(), &st) != 0)
        return Fail("cannot read " + options.file + ": " + qvcli::Reason(errno));
    if (S_ISDIR(st.st_mode)) return Fail("cannot read " + options.file + ": is a folder");
    if (!S_ISREG(st.st_mode)) return Fail("cannot read " + options.file + ": not a regular file");

    const std::string entry = EntryName(options.file.c_str());
    const std::string tmp = options.zip + ".tmp" + std::to_string(getpid());
    if (!WriteArchive(tmp, options, entry, reason)) {
        unlink(tmp.c_str());
        return Fail(reason);
    }
    if (rename(tmp.c_str(), options.zip.c_str()) != 0) {
        const std::string why = qvcli::WriteReason(errno);
        unlink(tmp.c_str());
        return Fail("cannot write " + options.zip + ": " + why);
    }
    if (!options.quiet)
        printf("QVZip: %s -> %s (%s)\n", options.file.c_str(), options.zip.c_str(), entry.c_str());
    return 0;
}
