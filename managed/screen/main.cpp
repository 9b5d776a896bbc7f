// halvora-screen [server] [--screenshot FILE --after SECONDS]: the attendant screen against a
// forecourt server (the library's local server when none is named). With --screenshot the
// window is saved as a PNG after that many seconds and the program ends (0 when saved).
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "managed/screen/AttendantScreen.h"

namespace {

struct Options {
    QString server;
    QString screenshot;
    double after = 0;
    bool valid = true;
};

Options Parse(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size()) {
            o.screenshot = args[++i];
        } else if (args[i] == QLatin1String("--after") && i + 1 < args.size()) {
            bool ok = false;
            o.after = args[++i].toDouble(&ok);
            o.valid = o.valid && ok && o.after >= 0;
        } else if (!args[i].startsWith(QLatin1String("--")) && o.server.isEmpty()) {
            o.server = args[i];
        } else {
            o.valid = false;
        }
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Options options = Parse(app.arguments());
    if (!options.valid) {
        std::fprintf(stderr,
                     "usage: halvora-screen [server] [--screenshot FILE --after SECONDS]\n");
        return 2;
    }
    // Statuses are fetched twice a second rather than every 5 s, so the pumps follow closely
    // even where the library's window message does not arrive.
    Halvora::QVClient::SetTimeouts(Halvora::QVClient::ReLogonTimeout(), 500);
    Halvora::AttendantScreen screen;
    if (const int32_t res = screen.Open(options.server); res != 0) {
        std::fprintf(stderr, "halvora-screen: cannot open the site on %s: %d %s\n",
                     options.server.isEmpty() ? "the local server" : qPrintable(options.server),
                     res, qPrintable(screen.Client().ResultString(res)));
        return 1;
    }
    screen.show();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(static_cast<int>(options.after * 1000), &screen, [&] {
            const bool saved = screen.grab().save(options.screenshot, "PNG");
            if (!saved)
                std::fprintf(stderr, "halvora-screen: cannot write %s\n",
                             qPrintable(options.screenshot));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
