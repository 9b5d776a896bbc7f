// Failures injected on request (--fail NAME:N[:RESULT]): the N-th call of an operation family
// (the name without its Ex ending, counting all variants) answers RESULT instead of running.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace qvserver {

class FaultPlan {
  public:
    // Parses one NAME:N[:RESULT]; RESULT defaults to 10 (simulated failure). False on a
    // malformed rule, with the reason.
    bool Add(const std::string& rule, std::string& error);
    // The operation families a rule may name, sorted: every operation's name without its Ex
    // ending. A rule may also name one variant ("GetHosePropertiesEx3"); it counts the family.
    static const std::vector<std::string>& Names();
    // Counts one call of the operation; the result it must fail with, or 0.
    int32_t Next(const std::string& operationName);

  private:
    struct Fault {
        std::string family;
        int64_t n;
        int32_t result;
    };
    std::mutex m_mutex;
    std::map<std::string, int64_t> m_calls; // calls so far per family
    std::vector<Fault> m_faults;
};

} // namespace qvserver
