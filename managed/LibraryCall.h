// How a QVClient operation calls its library function: each managed argument is wrapped for
// the library's parameter of the same position, the function is called, and the wrappers then
// write the outputs back (whatever the result) and free the BSTRs. Used by the QVClient sources
// only.
#pragma once
#include <QDateTime>
#include <QString>
#include <type_traits>

#include "managed/Conversions.h"
#include "managed/QVClient.h"

namespace Halvora {
namespace detail {

// Arg<library parameter type, managed argument type>; a missing pairing does not compile.
template <class Lib, class Managed> struct Arg;

// A number passed as it is.
template <class T> struct Arg<T, T> {
    T value;
    explicit Arg(T v) : value(v) {}
    T Lib() const { return value; }
};

// A text input: a BSTR that lives for the call.
template <> struct Arg<BSTR, QString> {
    BSTR text;
    explicit Arg(const QString& s) : text(ToBstr(s)) {}
    Arg(const Arg&) = delete;
    ~Arg() { platform::SysFreeString(text); }
    BSTR Lib() const { return text; }
};

// A date input: its automation date.
template <> struct Arg<double, QDateTime> {
    double date;
    explicit Arg(const QDateTime& when) : date(ToOADate(when)) {}
    double Lib() const { return date; }
};

// A number output: the library writes into a zeroed slot, copied out afterwards.
template <class T> struct Arg<T*, T> {
    T& target;
    T slot{};
    explicit Arg(T& t) : target(t) {}
    Arg(const Arg&) = delete;
    ~Arg() { target = slot; }
    T* Lib() { return &slot; }
};

// A text output: a null BSTR slot, converted ("" for null) and freed afterwards.
template <> struct Arg<BSTR*, QString> {
    QString& target;
    BSTR slot = nullptr;
    explicit Arg(QString& t) : target(t) {}
    Arg(const Arg&) = delete;
    ~Arg() {
        target = FromBstr(slot);
        platform::SysFreeString(slot);
    }
    BSTR* Lib() { return &slot; }
};

// A date output: a zero slot, converted by the automation rule afterwards.
template <> struct Arg<double*, QDateTime> {
    QDateTime& target;
    double slot = 0;
    explicit Arg(QDateTime& t) : target(t) {}
    Arg(const Arg&) = delete;
    ~Arg() { target = FromOADate(slot); }
    double* Lib() { return &slot; }
};

// Calls f with every argument wrapped; the wrappers end, writing the outputs, before it returns.
template <class... Lib, class... Managed>
int32_t CallLibrary(int32_t (*f)(Lib...), Managed&... args) {
    return f(Arg<Lib, std::remove_const_t<Managed>>(args).Lib()...);
}

} // namespace detail

template <class... Lib, class... Managed>
int32_t QVClient::Forward(int32_t (*f)(Lib...), Managed&... args) {
    return CheckResult(detail::CallLibrary(f, args...));
}

} // namespace Halvora
