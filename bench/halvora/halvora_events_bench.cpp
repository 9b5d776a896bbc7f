// What the event pump carries: pump statuses per second from a server peer (a socket peer in
// this program on 127.0.71.9 that pushes status frames after the logon) through the library's
// queue and CheckEvents to 32 registered pump controls' sinks; and the latency from a frame
// being sent to its PumpStatusEvent (median and 99th percentile). CheckEvents runs only on the
// library's window message, through the Qt event loop as in a host; the event poll is set far
// off. Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <sys/socket.h>
#include <thread>
#include <vector>

#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"

using Halvora::QVClient;
using Halvora::QVPump;
using qvwire::Value;

namespace {

constexpr char kAddress[] = "127.0.71.9";
constexpr int kPumps = 32;
constexpr int kBurst = 20000;
constexpr int kPaced = 2000;

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A pump status frame (variant 3) of pump `id`; the send time travels as the price.
std::vector<uint8_t> PumpStatus(int32_t id, double sentAt) {
    qvwire::Writer w;
    w.PutAll({Value::I16(1),        Value::I16(3),          Value::I16(43),      Value::I32(id),
              Value::I32(id),       Value::I16(10),         Value::I16(0),       Value::I32(-1),
              Value::I32(1),        Value::I32(1),          Value::I32(1),       Value::I32(3),
              Value::I32(3),        Value::Text(u"Diesel"), Value::Text(u"DSL"), Value::I16(1),
              Value::F64(sentAt),   Value::F64(12.5),       Value::F64(20.0),    Value::I16(0),
              Value::Text(u"Pump"), Value::I16(1),          Value::I16(1),       Value::I16(1),
              Value::I16(1),        Value::I16(2),          Value::I16(1),       Value::I32(1),
              Value::I16(0),        Value::I16(0),          Value::I16(1),       Value::I16(1),
              Value::I16(2),        Value::I16(2),          Value::I16(3),       Value::I64(-1),
              Value::I32(-1),       Value::I32(0),          Value::Text(u""),    Value::I64(-1),
              Value::I32(-1),       Value::I32(0),          Value::Text(u""),    Value::I64(-1),
              Value::F64(35.0),     Value::F64(40.0)});
    qvwire::Header h;
    h.type = qvwire::MsgType::Events;
    h.bodyLen = static_cast<uint16_t>(w.Bytes().size());
    std::vector<uint8_t> raw(qvwire::kHeaderSize);
    qvwire::EncodeHeader(h, raw.data());
    raw.insert(raw.end(), w.Bytes().begin(), w.Bytes().end());
    return raw;
}

void Answer(int fd, const qvwire::Header& request, const std::vector<uint8_t>& body) {
    qvwire::Header r = request;
    r.type = qvwire::MsgType::Reply;
    r.result = 0;
    qvwire::SendFrame(fd, r, body);
}

// Answers the logon, then every call with an empty success; Send pushes frames on the events
// connection.
struct Peer {
    int calls = qvwire::ListenTcp(kAddress, 5123), events = qvwire::ListenTcp(kAddress, 5124);
    std::atomic<int> callFd{-1}, eventFd{-1};
    std::atomic<bool> stop{false};
    std::thread thread{[this] { Serve(); }};

    void Serve() {
        callFd = accept(calls, nullptr, nullptr);
        qvwire::Header h;
        std::vector<uint8_t> body;
        if (qvwire::RecvFrame(callFd, h, body, 5000) != 0) return;
        qvwire::Writer key;
        key.Put(Value::Text(u"0123456789abcdef0123456789abcdef"));
        Answer(callFd, h, key.Bytes());
        const int fd = accept(events, nullptr, nullptr);
        if (qvwire::RecvFrame(fd, h, body, 5000) != 0) return;
        Answer(fd, h, {});
        eventFd = fd;
        while (!stop)
            if (qvwire::RecvFrame(callFd, h, body, 100) == 0) Answer(callFd, h, {});
    }
    void Send(const std::vector<uint8_t>& f) { send(eventFd, f.data(), f.size(), MSG_NOSIGNAL); }
    ~Peer() {
        stop = true;
        for (int fd : {callFd.load(), eventFd.load(), calls, events})
            qvwire::ShutdownSocket(fd);
        thread.join();
        for (int fd : {callFd.load(), eventFd.load(), calls, events})
            qvwire::CloseSocket(fd);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QVClient::SetTimeouts(600000, 600000);
    Peer peer;
    QVClient client;
    if (client.ClientLogonEx(51, 5, QString::fromLatin1(kAddress), 5123, 5124, 2000) != 0) {
        std::fprintf(stderr, "logon to the peer failed\n");
        return 1;
    }
    while (peer.eventFd < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::vector<std::unique_ptr<QVPump>> pumps;
    for (int i = 1; i <= kPumps; ++i) {
        pumps.push_back(std::make_unique<QVPump>());
        client.AddQVPump(pumps.back().get());
        pumps.back()->SetID(i);
    }

    // Throughput: a burst to the registered pumps, then one status of an unregistered pump
    // whose signal marks the end; sent from a thread while the pump drains the queue.
    bool done = false;
    auto marker =
        QObject::connect(&client, &QVClient::PumpStatusEvent, [&](auto...) { done = true; });
    QElapsedTimer clock;
    clock.start();
    std::thread sender([&] {
        for (int i = 0; i < kBurst; ++i)
            peer.Send(PumpStatus(1 + i % kPumps, 0));
        peer.Send(PumpStatus(99, 0));
    });
    while (!done && clock.elapsed() < 60000)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    sender.join();
    QObject::disconnect(marker);
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%d pump statuses to %d registered pumps in %.3f s: %.0f events/s\n", kBurst,
                kPumps, seconds, kBurst / seconds);

    // Latency: statuses of an unregistered pump one at a time, each read on its message.
    std::vector<double> latency;
    QObject::connect(&client, &QVClient::PumpStatusEventEx3, [&](auto... args) {
        const auto values = std::make_tuple(args...);
        latency.push_back(Now() - std::get<13>(values));
    });
    for (int i = 0; i < kPaced; ++i) {
        const size_t before = latency.size();
        peer.Send(PumpStatus(99, Now()));
        const double until = Now() + 0.5;
        while (latency.size() == before && Now() < until)
            app.processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::sort(latency.begin(), latency.end());
    if (latency.empty()) return 1;
    std::printf("latency from send to PumpStatusEvent over %zu statuses: median %.3f ms, p99 "
                "%.3f ms\n",
                latency.size(), latency[latency.size() / 2] * 1e3,
                latency[latency.size() * 99 / 100] * 1e3);
    client.ClientLogoff();
    return 0;
}
