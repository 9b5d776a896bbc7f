#include "managed/screen/AttendantScreen.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "managed/QVPump.h"
#include "managed/QVTank.h"

namespace Halvora {

namespace {
// Who the screen logs on as: a point-of-sale client.
constexpr int32_t kClientID = 90;
constexpr int16_t kClientType = 1;
constexpr int32_t kCallTimeout = 5000;
} // namespace

AttendantScreen::AttendantScreen(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Halvora"));
}

int32_t AttendantScreen::Open(const QString& server) {
    const int32_t logon =
        server.isEmpty()
            ? m_client.ClientLogon(kClientID, kClientType)
            : m_client.ClientLogonEx(kClientID, kClientType, server, QVClient::kDefaultCallsPort,
                                     QVClient::kDefaultEventsPort, kCallTimeout);
    if (logon != 0) return logon;

    auto* pumps = new QGridLayout;
    int32_t count = 0;
    if (const int32_t res = m_client.GetPumpsCount(count); res != 0) return res;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t id = -1;
        if (const int32_t res = m_client.GetPumpByOrdinal(i, id); res != 0) return res;
        auto* pump = new QVPump(this);
        pump->SetBeepEnabled(true);
        pump->SetID(id);
        pump->SetQVClient(&m_client);
        pumps->addWidget(pump, (i - 1) / kPumpsPerRow, (i - 1) % kPumpsPerRow);
        m_pumps.append(pump);
    }
    auto* tanks = new QHBoxLayout;
    if (const int32_t res = m_client.GetTanksCount(count); res != 0) return res;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t id = -1;
        if (const int32_t res = m_client.GetTankByOrdinal(i, id); res != 0) return res;
        auto* tank = new QVTank(this);
        tank->SetID(id);
        tank->SetQVClient(&m_client);
        tanks->addWidget(tank);
        m_tanks.append(tank);
    }
    tanks->addStretch();
    auto* top = new QHBoxLayout;
    m_client.setParent(this);
    top->addWidget(&m_client);
    top->addStretch();
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(pumps);
    all->addLayout(tanks);
    return 0;
}

} // namespace Halvora
