// halvora-screen [SERVER] [--screenshot FILE [--after SECONDS]]: the attendant screen against a
// forecourt server (the library's local server when none is named). With --screenshot the
// window is saved as a PNG after that many seconds and the program ends (0 when saved). The
// command line, the screenshot's folder and the display are checked before anything starts.
#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "managed/screen/AttendantScreen.h"
#include "tools/cli/CommandLine.h"

namespace {

constexpr char kProgram[] = "halvora-screen";
constexpr int kFailed = 1;

constexpr char kHelp[] =
    "usage: halvora-screen [SERVER] [--screenshot FILE [--after SECONDS]]\n"
    "       halvora-screen --help | --version\n"
    "The attendant screen: one pump control per pump and one tank control per tank of the\n"
    "site on SERVER (a name or an address; the library's local server when none is named).\n"
    "  --screenshot FILE  saves the window as a PNG after SECONDS (default 0) and ends\n"
    "  --after SECONDS    how long to show the screen before the screenshot\n"
    "It needs a display (DISPLAY or WAYLAND_DISPLAY); QT_QPA_PLATFORM=offscreen runs it\n"
    "without one, for screenshots. Exit status 0 when the screenshot was saved or the window\n"
    "closed, 1 when the site cannot be opened, the screenshot cannot be written or there is\n"
    "no display, 2 for a wrong command line.\n";

enum class Line { Run, Help, Version, Wrong };

struct Options {
    QString server;
    QString screenshot;
    double after = 0;
    bool afterGiven = false;
};

// Reads the arguments after the program's name; a mistake is named in `mistake`.
Line Parse(int argc, char** argv, Options& o, std::string& mistake) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") return Line::Help;
        if (a == "--version") return Line::Version;
        if (a == "--screenshot" || a == "--after") {
            if (i + 1 >= argc) {
                mistake = "option " + qvcli::Quoted(a) + " needs a value (" +
                          (a == "--after" ? "SECONDS" : "FILE") + ")";
                return Line::Wrong;
            }
            const QString value = QString::fromLocal8Bit(argv[++i]);
            if (a == "--screenshot") {
                o.screenshot = value;
                continue;
            }
            bool ok = false;
            o.after = value.toDouble(&ok);
            o.afterGiven = true;
            if (!ok || o.after < 0 || o.after > 24 * 3600) {
                mistake = "invalid value " + qvcli::Quoted(argv[i]) +
                          " for --after: expected seconds from 0 to 86400";
                return Line::Wrong;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            mistake = "unknown option " + qvcli::Quoted(a);
            return Line::Wrong;
        } else if (!o.server.isEmpty()) {
            mistake = "unexpected argument " + qvcli::Quoted(a) + " (one SERVER only)";
            return Line::Wrong;
        } else {
            o.server = QString::fromLocal8Bit(argv[i]);
        }
    }
    if (o.afterGiven && o.screenshot.isEmpty()) {
        mistake = "--after needs --screenshot FILE";
        return Line::Wrong;
    }
    return Line::Run;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", kProgram, reason.c_str());
    return kFailed;
}

// Why the screenshot could not be written where it is to go, "" when it can be: the folder
// must be there and writable, and the file must not be a folder.
std::string ScreenshotProblem(const QString& file) {
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) return "no such folder";
    if (!folder.isDir()) return "a part of the path is not a folder";
    if (info.isDir()) return "is a folder";
    if (!folder.isWritable() || (info.exists() && !info.isWritable())) return "permission denied";
    return "";
}

// True when Qt has a platform to show windows on: a chosen one (QT_QPA_PLATFORM), or the
// display server that the default platform connects to. Without one Qt aborts in QApplication.
bool HasDisplay() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != 0;
    };
    const std::string platform = set("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    if (platform.rfind("xcb", 0) == 0) return set("DISPLAY");
    if (platform.rfind("wayland", 0) == 0) return set("WAYLAND_DISPLAY");
    return !platform.empty() || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// Writes the bytes to path; 0 when written and flushed, else the error number.
int WriteWhole(const std::string& path, const QByteArray& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return errno;
    const size_t size = static_cast<size_t>(bytes.size());
    int error =
        std::fwrite(bytes.constData(), 1, size, f) == size && std::fflush(f) == 0 ? 0 : errno;
    if (std::fclose(f) != 0 && error == 0) error = errno;
    return error;
}

// Saves the window as a PNG under a temporary name beside the file, renamed over it only when
// whole, so that a failure (a full disk) leaves neither a cut picture nor a changed old one.
bool SaveScreenshot(QWidget& window, const QString& file) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !window.grab().save(&buffer, "PNG")) {
        Fail("cannot write " + file.toStdString() + ": the picture could not be encoded");
        return false;
    }
    const std::string path = file.toStdString(), part = path + ".part";
    int error = WriteWhole(part, png);
    if (error == 0 && std::rename(part.c_str(), path.c_str()) != 0) error = errno;
    if (error == 0) return true;
    std::remove(part.c_str());
    Fail("cannot write " + path + ": " + qvcli::WriteReason(error));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string mistake;
    switch (Parse(argc, argv, options, mistake)) {
    case Line::Help:
        std::fputs(kHelp, stdout);
        return 0;
    case Line::Version:
        return qvcli::PrintVersion(kProgram);
    case Line::Wrong:
        return qvcli::UsageError(kProgram, mistake);
    case Line::Run:
        break;
    }
    if (!options.screenshot.isEmpty()) {
        const std::string problem = ScreenshotProblem(options.screenshot);
        if (!problem.empty())
            return Fail("cannot write " + options.screenshot.toStdString() + ": " + problem);
    }
    if (!HasDisplay())
        return Fail("needs a display: set DISPLAY (or WAYLAND_DISPLAY), or "
                    "QT_QPA_PLATFORM=offscreen to run without one");

    QApplication app(argc, argv);
    // Statuses are fetched twice a second rather than every 5 s, so the pumps follow closely
    // even where the library's window message does not arrive.
    Halvora::QVClient::SetTimeouts(Halvora::QVClient::ReLogonTimeout(), 500);
    Halvora::AttendantScreen screen;
    if (const int32_t res = screen.Open(options.server); res != 0) {
        std::fprintf(stderr, "halvora-screen: cannot open the site on %s: %d %s\n",
                     options.server.isEmpty() ? "the local server" : qPrintable(options.server),
                     res, qPrintable(screen.Client().ResultString(res)));
        return kFailed;
    }
    screen.show();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(static_cast<int>(options.after * 1000), &screen, [&] {
            QApplication::exit(SaveScreenshot(screen, options.screenshot) ? 0 : kFailed);
        });
    }
    return app.exec();
}
