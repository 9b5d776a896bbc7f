// What painting the pump controls costs: 32 pumps on one screen, each receiving a running-sale
// status 10 times a second (320 statuses/s), measured as the share of one core the process
// uses over 10 s; and the time of one full pump paint. Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QImage>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "managed/QVPump.h"

using Halvora::QVPump;

namespace {

constexpr int kPumps = 32;
constexpr int kEventsPerPumpPerSecond = 10;
constexpr int kSeconds = 10;

// A delivering pump's status with the running sale at `litres`.
void Deliver(QVPump& pump, double litres) {
    pump.StatusEventSink(10, 0, -1, 101, 1, 1, 3, 3, QStringLiteral("Diesel"),
                         QStringLiteral("DSL"), 1, 1.899, litres, litres * 1.899, 2,
                         QStringLiteral("Pump"), 1, 1, 1, 1, 2, 1, 1, 0, 0, 1, 1, 2, 2, 3, -1, -1,
                         0, QString(), -1, -1, 0, QString(), -1, 35.0, 40.0);
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget screen;
    auto* grid = new QGridLayout(&screen);
    std::vector<QVPump*> pumps;
    for (int i = 0; i < kPumps; ++i) {
        auto* pump = new QVPump(&screen);
        grid->addWidget(pump, i / 8, i % 8);
        pumps.push_back(pump);
        Deliver(*pump, 0);
    }
    screen.show();
    QApplication::processEvents();

    // One full paint of a pump, into an image and through the screen's backing store.
    QImage image(pumps[0]->size(), QImage::Format_ARGB32_Premultiplied);
    const int paints = 5000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < paints; ++i)
        pumps[0]->render(&image);
    const double renderUs = clock.nsecsElapsed() / 1000.0 / paints;
    clock.restart();
    for (int i = 0; i < paints; ++i)
        pumps[i % kPumps]->repaint();
    const double repaintUs = clock.nsecsElapsed() / 1000.0 / paints;

    // 320 statuses a second, the pumps in turn: each 25 ms tick hands out the statuses that are
    // due by then, so a late tick does not lower the rate.
    const double rate = kPumps * kEventsPerPumpPerSecond;
    QElapsedTimer since;
    int next = 0;
    long events = 0;
    double litres = 0;
    QTimer feed;
    feed.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feed, &QTimer::timeout, [&] {
        const long due = static_cast<long>(since.nsecsElapsed() * 1e-9 * rate);
        while (events < due) {
            Deliver(*pumps[next], litres += 0.013);
            next = (next + 1) % kPumps;
            ++events;
        }
    });
    const double cpu0 = CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    since.start();
    feed.start(25);
    QTimer::singleShot(kSeconds * 1000, &app, &QApplication::quit);
    app.exec();
    const double cpu = CpuSeconds() - cpu0;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wall0;

    std::printf("full pump paint: %.1f us into an image, %.1f us through the screen\n", renderUs,
                repaintUs);
    std::printf("%d pumps, %.0f statuses/s for %.1f s: %.2f%% of one core (%.1f us per status)\n",
                kPumps, events / wall.count(), wall.count(), 100.0 * cpu / wall.count(),
                1e6 * cpu / events);
    return 0;
}
