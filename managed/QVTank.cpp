#include "managed/QVTank.h"

#include "managed/QVClient.h"

namespace Halvora {

QVTank::QVTank(QWidget* parent) : QWidget(parent) {}

QVTank::~QVTank() {
    if (m_client) m_client->RemoveQVTank(this);
}

void QVTank::SetQVClient(Halvora::QVClient* client) {
    if (m_client && m_client != client) m_client->RemoveQVTank(this);
    m_client = client;
    Load();
}

void QVTank::SetID(int32_t id) {
    if (id == m_id) return;
    if (id == -1 && m_client) m_client->RemoveQVTank(this);
    m_id = id;
    Load();
}

void QVTank::ForgetClient(Halvora::QVClient* client) {
    if (m_client == client) m_client = nullptr;
}

void QVTank::ShowConnectionLost() {
    m_state = kNoServerState;
    m_gaugeVolume = 0;
    m_gaugeLevel = 0;
}

void QVTank::Load() {
    m_state = 0;
    m_gaugeVolume = 0;
    m_gaugeLevel = 0;
    if (m_client && m_id != -1) m_client->AddQVTank(this);
}

} // namespace Halvora
