// libFuzzer harness of the server's side of a calls connection. The first 24 bytes also go
// through the header decoder; then the input is read as frames of a logged-on connection
// (frame byte, operation code, body length, body), each answered as the server
// answers it, on the demo site held in memory. Every input starts from the same site.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/FaultPlan.h"
#include "outside/qvserver/Seed.h"
#include "outside/qvserver/Server.h"

namespace {

using qvwire::Header;
using qvwire::Value;
using qvwire::Values;

struct Site {
    qvserver::Store store;
    qvserver::FaultPlan faults;
    std::unique_ptr<qvserver::Server> server;
    Site() {
        std::string error;
        if (!store.Open(":memory:", error)) __builtin_trap();
        server = std::make_unique<qvserver::Server>(store, faults);
        if (!qvserver::SeedDemo(store, server->Ops(), error)) __builtin_trap();
    }
};

std::vector<uint8_t> Encode(const Values& vs) {
    qvwire::Writer w;
    w.PutAll(vs);
    return w.Bytes();
}

// Reads the bytes as values of the operation's input letters (texts take a length byte);
// missing bytes read as 0.
std::vector<uint8_t> Shaped(uint16_t op, const std::vector<uint8_t>& raw) {
    size_t at = 0;
    const auto next = [&](int n) {
        uint64_t v = 0;
        for (int i = 0; i < n; ++i, ++at)
            v |= static_cast<uint64_t>(at < raw.size() ? raw[at] : 0) << (8 * i);
        return v;
    };
    Values vs;
    for (char letter : qvserver::Operations::InputSignature(op)) {
        switch (letter) {
        case 'h':
            vs.push_back(Value::I16(static_cast<int16_t>(next(2))));
            break;
        case 'i':
            vs.push_back(Value::I32(static_cast<int32_t>(next(4))));
            break;
        case 'l':
            vs.push_back(Value::I64(static_cast<int64_t>(next(8))));
            break;
        case 'd': {
            const uint64_t bits = next(8);
            double d;
            std::memcpy(&d, &bits, 8);
            vs.push_back(Value::F64(d));
            break;
        }
        default: {
            std::u16string text(next(1), u'\0');
            for (char16_t& c : text)
                c = static_cast<char16_t>(next(2));
            vs.push_back(Value::Text(text));
            break;
        }
        }
    }
    return Encode(vs);
}

void LogOn(qvserver::Server& server, qvserver::Server::CallsState& state) {
    Header h, reply;
    h.type = qvwire::MsgType::Connect;
    Values out;
    server.AnswerCall(state, h,
                      Encode({Value::I32(1), Value::I16(5), Value::Text(u"fuzz"), Value::I16(1),
                              Value::Text(u""), Value::I32(-1)}),
                      reply, out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Site site;
    if (size >= qvwire::kHeaderSize) {
        Header h;
        qvwire::DecodeHeader(data, h);
    }
    site.store.Exec("SAVEPOINT fuzz", {});
    qvserver::Server::CallsState state;
    LogOn(*site.server, state);
    size_t pos = 0;
    while (size - pos >= 4) {
        // Frame byte: bits 0-3 the type (mod 10), bit 6 a raw body (else the bytes become the
        // values the operation takes, so that calls get past the check of their inputs), bit 7
        // an operation code as given (else taken onto the table).
        const uint8_t frame = data[pos];
        Header h;
        h.type = static_cast<qvwire::MsgType>((frame & 0x0F) % 10);
        const unsigned code = data[pos + 1] | (data[pos + 2] << 8);
        h.op = static_cast<uint16_t>((frame & 0x80) ? code
                                                    : 1 + code % qvwire::kOperationNames.size());
        // One length byte for short bodies; 0xFF and two more for any other.
        size_t len = data[pos + 3];
        pos += 4;
        if (len == 0xFF) {
            if (size - pos < 2) break;
            len = static_cast<size_t>(data[pos] | (data[pos + 1] << 8));
            pos += 2;
        }
        if (len > qvwire::kMaxBody || len > size - pos) break;
        std::vector<uint8_t> body(data + pos, data + pos + len);
        pos += len;
        if (!(frame & 0x40)) body = Shaped(h.op, body);
        Header reply;
        Values out;
        const auto answer = site.server->AnswerCall(state, h, body, reply, out);
        if (answer != qvserver::Server::Answer::Reply) break;
        qvwire::Writer w;
        w.PutAll(out); // as the reply is sent
    }
    site.server->EndCalls(state);
    site.store.Exec("ROLLBACK TO fuzz", {});
    site.store.Exec("RELEASE fuzz", {});
    return 0;
}
