// Turns an exported function's arguments into a call: value arguments become the inputs in
// their order, pointer arguments receive the outputs in their order. Outputs are written only
// when the answer is a success and its values match the pointers' types; BSTR outputs free the
// text they replace.
#pragma once
#include <cstdint>
#include <memory>

#include "outside/qvclient/ClientSession.h"
#include "outside/qvclient/QVClient.h"
#include "platform/OleAuto.h"

namespace qvclient {

using qvwire::Tag;
using qvwire::Value;
using qvwire::Values;

template <typename T> struct Arg { static constexpr bool kOut = false; };
template <> struct Arg<int16_t*> {
    static constexpr bool kOut = true;
    static constexpr Tag kTag = Tag::I16;
    static void Store(const Value& v, int16_t* p) { *p = static_cast<int16_t>(v.i); }
};
template <> struct Arg<int32_t*> {
    static constexpr bool kOut = true;
    static constexpr Tag kTag = Tag::I32;
    static void Store(const Value& v, int32_t* p) { *p = static_cast<int32_t>(v.i); }
};
template <> struct Arg<int64_t*> {
    static constexpr bool kOut = true;
    static constexpr Tag kTag = Tag::I64;
    static void Store(const Value& v, int64_t* p) { *p = v.i; }
};
template <> struct Arg<double*> {
    static constexpr bool kOut = true;
    static constexpr Tag kTag = Tag::F64;
    static void Store(const Value& v, double* p) { *p = v.d; }
};
template <> struct Arg<BSTR*> {
    static constexpr bool kOut = true;
    static constexpr Tag kTag = Tag::Text;
    static void Store(const Value& v, BSTR* p) {
        BSTR fresh = platform::SysAllocStringLen(v.s.data(), static_cast<uint32_t>(v.s.size()));
        if (*p) platform::SysFreeString(*p);
        *p = fresh;
    }
};

inline void Input(Values& in, int16_t v) {
    in.push_back(Value::I16(v));
}
inline void Input(Values& in, int32_t v) {
    in.push_back(Value::I32(v));
}
inline void Input(Values& in, int64_t v) {
    in.push_back(Value::I64(v));
}
inline void Input(Values& in, double v) {
    in.push_back(Value::F64(v));
}
inline void Input(Values& in, BSTR v) {
    in.push_back(Value::Text(v ? std::u16string(v, platform::SysStringLen(v)) : std::u16string()));
}
template <typename T> void Input(Values&, T*) {} // an output

template <typename T> void Check(const Values& out, size_t& i, bool& ok, T) {
    if constexpr (Arg<T>::kOut) {
        ok = ok && i < out.size() && out[i].tag == Arg<T>::kTag;
        ++i;
    }
}
template <typename T> void Store(const Values& out, size_t& i, T p) {
    if constexpr (Arg<T>::kOut) {
        if (p) Arg<T>::Store(out[i], p);
        ++i;
    }
}

// Writes the outputs when `result` is 0; a mismatch of the answer gives -22.
template <typename... A> int32_t Deliver(int32_t result, const Values& out, A... args) {
    if (result != QV_OK) return result;
    size_t i = 0;
    bool ok = true;
    (Check(out, i, ok, args), ...);
    if (!ok || i != out.size()) return QV_PROTOCOL_ERROR;
    i = 0;
    (Store(out, i, args), ...);
    return QV_OK;
}

// One operation of the logon `handle` on the server.
template <uint16_t Op, typename... A> int32_t Call(int32_t handle, A... args) {
    static_assert(Op != 0, "unknown operation");
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    Values in, out;
    (Input(in, args), ...);
    return Deliver(s->Call(Op, in, out), out, args...);
}

// Reads the oldest queued event when it has `type`, from its section `variant`.
template <typename... A>
int32_t ReadEvent(int32_t handle, int16_t type, int16_t variant, A... args) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    Values out;
    int32_t result = s->PeekEvent(type, variant, out);
    if (result == QV_NO_EVENT) return result;
    result = Deliver(result, out, args...);
    s->PopEvent();
    return result;
}

} // namespace qvclient
