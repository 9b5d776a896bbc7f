#include "managed/QVPump.h"

#include "managed/QVClient.h"

namespace Halvora {

QVPump::QVPump(QWidget* parent) : QWidget(parent) {}

QVPump::~QVPump() {
    if (m_client) m_client->RemoveQVPump(this);
}

void QVPump::SetQVClient(Halvora::QVClient* client) {
    if (m_client && m_client != client) m_client->RemoveQVPump(this);
    m_client = client;
    Load();
}

void QVPump::SetID(int32_t id) {
    if (id == m_id) return;
    if (id == -1 && m_client) m_client->RemoveQVPump(this);
    m_id = id;
    Load();
}

void QVPump::ForgetClient(Halvora::QVClient* client) {
    if (m_client == client) m_client = nullptr;
}

void QVPump::ResetCopy() {
    m_number = 0;
    m_name.clear();
    m_physicalNumber = 0;
    m_portID = -1;
    ShowConnectionLost();
}

void QVPump::ShowConnectionLost() {
    m_state = 0;
    m_hoseID = -1;
    m_gradeID = -1;
    m_gradeName.clear();
    m_price = 0;
    m_volume = 0;
    m_value = 0;
}

void QVPump::Load() {
    ResetCopy();
    if (!m_client || m_id == -1) return;
    m_client->AddQVPump(this);
    int16_t side = 0, address = 0, level1 = 0, level2 = 0, priceFormat = 0, volumeFormat = 0,
            valueFormat = 0, type = 0, authMode = 0, stackMode = 0, prepay = 0, preauth = 0;
    int32_t attendant = 0;
    m_client->GetPumpProperties(m_id, m_number, m_name, m_physicalNumber, side, address, level1,
                                level2, priceFormat, volumeFormat, valueFormat, type, m_portID,
                                attendant, authMode, stackMode, prepay, preauth);
}

} // namespace Halvora
