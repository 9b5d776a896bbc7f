// Counting of calls per family and the injected results.
#include "outside/qvserver/FaultPlan.h"

#include <algorithm>
#include <cstdlib>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"

namespace qvserver {

namespace {

bool ParseInt(const std::string& s, int64_t& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 10);
    return *end == 0;
}

} // namespace

bool FaultPlan::Add(const std::string& rule, std::string& error) {
    const size_t c1 = rule.find(':');
    if (c1 == std::string::npos || c1 == 0) {
        error = "expected NAME:N[:RESULT]";
        return false;
    }
    const std::string name = rule.substr(0, c1);
    const size_t c2 = rule.find(':', c1 + 1);
    const std::string nText =
        rule.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    int64_t n = 0, result = QV_INJECTED_FAILURE;
    if (!ParseInt(nText, n) || n < 1) {
        error = "N must be a whole number from 1";
        return false;
    }
    if (c2 != std::string::npos && (!ParseInt(rule.substr(c2 + 1), result) || result == 0)) {
        error = "RESULT must be a non-zero whole number";
        return false;
    }
    const std::vector<std::string>& names = Names();
    if (qvwire::OpCode(name) == 0 && !std::binary_search(names.begin(), names.end(), name)) {
        error = "unknown operation " + name + " ('qvserver --help' lists the names)";
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults.push_back({qvwire::FamilyName(name), n, static_cast<int32_t>(result)});
    return true;
}

const std::vector<std::string>& FaultPlan::Names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (std::string_view op : qvwire::kOperationNames)
            all.push_back(qvwire::FamilyName(op));
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return names;
}

int32_t FaultPlan::Next(const std::string& operationName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_faults.empty()) return 0;
    const std::string family = qvwire::FamilyName(operationName);
    const int64_t call = ++m_calls[family];
    for (const Fault& f : m_faults)
        if (f.family == family && f.n == call) return f.result;
    return 0;
}

} // namespace qvserver
