#include "outside/qvserver/ForecourtDeliveries.h"

#include <cmath>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"

namespace qvserver {

void DeliveryBook::Load(const std::vector<DeliveryRecord>& onPumps) {
    for (const DeliveryRecord& d : onPumps)
        if (d.state == DELIVERY_STATE_CURRENT || d.state == DELIVERY_STATE_STACKED)
            m_open[d.id] = d;
}

int32_t DeliveryBook::AddCurrent(const DeliveryRecord& d) {
    int32_t stacked = 0;
    for (auto& kv : m_open)
        if (kv.second.pumpID == d.pumpID && kv.second.state == DELIVERY_STATE_CURRENT) {
            kv.second.state = DELIVERY_STATE_STACKED;
            stacked = kv.first;
        }
    DeliveryRecord& added = m_open[d.id];
    added = d;
    added.state = DELIVERY_STATE_CURRENT;
    return stacked;
}

int32_t DeliveryBook::Stack(int32_t pumpID, int32_t& stackedID) {
    for (auto& kv : m_open)
        if (kv.second.pumpID == pumpID && kv.second.state == DELIVERY_STATE_CURRENT) {
            kv.second.state = DELIVERY_STATE_STACKED;
            stackedID = kv.first;
            return QV_OK;
        }
    return RESULT_NO_CURRENT_DELIVERY;
}

int32_t DeliveryBook::Check(int32_t id, int32_t client, DeliveryRecord*& d) {
    auto it = m_open.find(id);
    if (it == m_open.end()) {
        if (m_cleared.count(id)) return RESULT_DELIVERY_CLEARED;
        return QV_UNKNOWN_ID;
    }
    d = &it->second;
    if (d->lockedBy != -1 && d->lockedBy != client) return RESULT_DELIVERY_LOCKED;
    return QV_OK;
}

int32_t DeliveryBook::Lock(int32_t id, int32_t client) {
    DeliveryRecord* d = nullptr;
    const int32_t r = Check(id, client, d);
    if (r == QV_OK) d->lockedBy = client;
    return r;
}

int32_t DeliveryBook::Unlock(int32_t id, int32_t client) {
    DeliveryRecord* d = nullptr;
    const int32_t r = Check(id, client, d);
    if (r == QV_OK) d->lockedBy = -1;
    return r;
}

int32_t DeliveryBook::Clear(int32_t id, int32_t client, int16_t type, double nowOle,
                            DeliveryRecord& cleared) {
    DeliveryRecord* d = nullptr;
    const int32_t r = Check(id, client, d);
    if (r != QV_OK) return r;
    d->state = DELIVERY_STATE_CLEARED;
    if (type > 0) d->type = type;
    d->clearedDT = nowOle;
    d->clearedBy = client;
    d->age = AgeOf(*d, nowOle);
    cleared = *d;
    m_open.erase(id);
    m_timedOut.erase(id);
    m_cleared.insert(id);
    return QV_OK;
}

const DeliveryRecord* DeliveryBook::Find(int32_t id) const {
    auto it = m_open.find(id);
    return it == m_open.end() ? nullptr : &it->second;
}

std::vector<int32_t> DeliveryBook::OnPump(int32_t pumpID) const {
    std::vector<int32_t> ids;
    for (const auto& kv : m_open)
        if (kv.second.pumpID == pumpID) ids.push_back(kv.first);
    return ids;
}

int32_t DeliveryBook::StackSize(int32_t pumpID) const {
    int32_t n = 0;
    for (const auto& kv : m_open)
        n += kv.second.pumpID == pumpID;
    return n;
}

bool DeliveryBook::HasCurrent(int32_t pumpID) const {
    for (const auto& kv : m_open)
        if (kv.second.pumpID == pumpID && kv.second.state == DELIVERY_STATE_CURRENT) return true;
    return false;
}

int32_t DeliveryBook::AgeOf(const DeliveryRecord& d, double nowOle) const {
    if (d.completedDT <= 0) return 0;
    const double seconds = std::floor((nowOle - d.completedDT) * 86400.0 + 1e-6);
    const int32_t age = seconds > 0 ? static_cast<int32_t>(std::min(seconds, 2e9)) : 0;
    return age >= m_settings.deliveryTimeoutS ? -age : age;
}

std::vector<int32_t> DeliveryBook::NewlyTimedOut(double nowOle) {
    std::vector<int32_t> ids;
    for (const auto& kv : m_open)
        if (AgeOf(kv.second, nowOle) < 0 && m_timedOut.insert(kv.first).second)
            ids.push_back(kv.first);
    return ids;
}

} // namespace qvserver
