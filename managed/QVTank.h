// Halvora::QVTank: the widget that shows one tank gauge of a QVClient. This part binds it: a
// client and a tank ID, registration with the client and the blank status (state 6) shown while
// the server connection is lost.
#pragma once
#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace Halvora {

class QVClient;

class QVTank : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int32_t ID READ ID WRITE SetID)
    Q_PROPERTY(Halvora::QVClient* QVClient READ Client WRITE SetQVClient)

  public:
    // The state a tank shows while its client has lost the server.
    static constexpr int16_t kNoServerState = 6;

    explicit QVTank(QWidget* parent = nullptr);
    // Leaves its client's registry.
    ~QVTank() override;

    // Binding as for QVPump: with a client and an ID the tank registers (AddQVTank); setting
    // the ID to -1 leaves the registry.
    int32_t ID() const { return m_id; }
    void SetID(int32_t id);
    Halvora::QVClient* Client() const { return m_client; }
    void SetQVClient(Halvora::QVClient* client);

    int16_t TankState() const { return m_state; } // TTankState
    double GaugeVolume() const { return m_gaugeVolume; }
    double GaugeLevel() const { return m_gaugeLevel; }

    // The status a client gives its registered tanks when the server connection is lost:
    // state 6, readings 0.
    void ShowConnectionLost();
    // Called by a client being destroyed.
    void ForgetClient(Halvora::QVClient* client);

  private:
    void Load();

    QPointer<Halvora::QVClient> m_client;
    int32_t m_id = -1;
    int16_t m_state = 0;
    double m_gaugeVolume = 0;
    double m_gaugeLevel = 0;
};

} // namespace Halvora
