// Halvora::QVPump: the widget that shows one pump of a QVClient. This part binds it: a client
// and a pump ID, registration with the client, the pump's properties copied from the server,
// the current-pump mark and the blank status shown while the server connection is lost.
#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace Halvora {

class QVClient;

class QVPump : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int32_t ID READ ID WRITE SetID)
    Q_PROPERTY(Halvora::QVClient* QVClient READ Client WRITE SetQVClient)
    Q_PROPERTY(bool IsCurrentPump READ IsCurrentPump WRITE SetIsCurrentPump)

  public:
    // What a click on the pump does.
    enum VPopupMode : int32_t {
        POPUP_NEVER = 1,
        POPUP_SOMETIMES = 2,
        POPUP_ALWAYS = 3,
        POPUP_PRESET = 4
    };
    Q_ENUM(VPopupMode)

    explicit QVPump(QWidget* parent = nullptr);
    // Leaves its client's registry.
    ~QVPump() override;

    // Binding: setting the client stores it and loads; setting another ID leaves the client's
    // registry when the new ID is -1, stores it and loads. Loading with a client and an ID
    // registers with the client (AddQVPump) and copies the pump's properties; otherwise the
    // copy is blank (state 0, IDs -1).
    int32_t ID() const { return m_id; }
    void SetID(int32_t id);
    Halvora::QVClient* Client() const { return m_client; }
    void SetQVClient(Halvora::QVClient* client);

    bool IsCurrentPump() const { return m_isCurrent; }
    void SetIsCurrentPump(bool current) { m_isCurrent = current; }

    // The copied values.
    int32_t Number() const { return m_number; }
    QString PumpName() const { return m_name; }
    int16_t PhysicalNumber() const { return m_physicalNumber; }
    int32_t PortID() const { return m_portID; }
    int16_t PumpState() const { return m_state; } // TPumpState
    int32_t HoseID() const { return m_hoseID; }
    int32_t GradeID() const { return m_gradeID; }
    QString GradeName() const { return m_gradeName; }
    double CurPrice() const { return m_price; }
    double CurVolume() const { return m_volume; }
    double CurValue() const { return m_value; }

    // The status a client gives its registered pumps when the server connection is lost:
    // off line (state 0), no hose, no grade, amounts 0.
    void ShowConnectionLost();
    // Called by a client being destroyed.
    void ForgetClient(Halvora::QVClient* client);

  private:
    void Load();
    void ResetCopy();

    QPointer<Halvora::QVClient> m_client;
    int32_t m_id = -1;
    bool m_isCurrent = false;
    int32_t m_number = 0;
    QString m_name;
    int16_t m_physicalNumber = 0;
    int32_t m_portID = -1;
    int16_t m_state = 0;
    int32_t m_hoseID = -1;
    int32_t m_gradeID = -1;
    QString m_gradeName;
    double m_price = 0;
    double m_volume = 0;
    double m_value = 0;
};

} // namespace Halvora
