// Halvora::QVTank: the widget that shows one tank gauge of a QVClient: the tank with its product
// and water levels, its number and name, three readings and the state picture. Bound to a
// client and a tank ID it registers with the client, reads the tank (GetTankSummaryEx) and then
// receives the gauge's status from the client's event pump (StatusEventSink).
#pragma once
#include <QPointer>
#include <QString>
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

    // Binding as for QVPump: with a client and an ID the tank registers (AddQVTank) and reads
    // its summary; setting the ID to -1 leaves the registry.
    int32_t ID() const { return m_id; }
    void SetID(int32_t id);
    Halvora::QVClient* Client() const;
    void SetQVClient(Halvora::QVClient* client);

    int32_t Number() const { return m_number; }
    QString TankName() const { return m_name; }
    int16_t TankType() const { return m_type; }
    int32_t GradeID() const { return m_gradeID; }
    int32_t GradeNumber() const { return m_gradeNumber; }
    QString GradeName() const { return m_gradeName; }
    QString GradeShortName() const { return m_gradeShortName; }
    QString GradeCode() const { return m_gradeCode; }
    double Capacity() const { return m_capacity; }
    double Diameter() const { return m_diameter; }
    double TheoVolume() const { return m_theoVolume; }
    double GaugeVolume() const { return m_gaugeVolume; }
    double GaugeTCVolume() const { return m_gaugeTCVolume; }
    double GaugeUllage() const { return m_gaugeUllage; }
    double GaugeTemperature() const { return m_gaugeTemperature; }
    double GaugeLevel() const { return m_gaugeLevel; }
    double GaugeWaterVolume() const { return m_gaugeWaterVolume; }
    double GaugeWaterLevel() const { return m_gaugeWaterLevel; }
    int32_t GaugeID() const { return m_gaugeID; }
    int16_t ProbeNo() const { return m_probeNo; }
    int16_t TankState() const { return m_state; } // TTankState
    int32_t AlarmsMask() const { return m_alarmsMask; }
    bool GaugeResponding() const { return m_responding; }

    // The gauge's status, from the client's event pump; repaints and raises the status events.
    void StatusEventSink(double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                         double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                         double GaugeWaterLevel, int32_t TankNumber, const QString& TankName,
                         int32_t GradeID, const QString& GradeName, int16_t Type, double Capacity,
                         double Diameter, int32_t GaugeID, int16_t ProbeNo, int16_t State,
                         int32_t AlarmsMask);

    // The status a client gives its registered tanks when the server connection is lost:
    // state 6, readings 0, the tank's own properties kept. It goes through StatusEventSink, so
    // the status events are raised.
    void ShowConnectionLost();
    // Reads the tank again, as a first binding does; the client's call after a re-logon.
    void Reload();
    // Called by a client being destroyed.
    void ForgetClient(Halvora::QVClient* client);

  signals:
    // The client's tank-status lists with the control first.
    void StatusEvent(Halvora::QVTank* Tank, int32_t TankID, double GaugeVolume,
                     double GaugeTCVolume, double GaugeUllage, double GaugeTemperature,
                     double GaugeLevel, double GaugeWaterVolume, double GaugeWaterLevel);
    void StatusEventEx(Halvora::QVTank* Tank, int32_t TankID, double GaugeVolume,
                       double GaugeTCVolume, double GaugeUllage, double GaugeTemperature,
                       double GaugeLevel, double GaugeWaterVolume, double GaugeWaterLevel,
                       int32_t TankNumber, const QString& TankName, int32_t GradeID,
                       const QString& GradeName, int16_t Type, double Capacity, double Diameter,
                       int32_t GaugeID, int16_t ProbeNo);
    void StatusEventEx2(Halvora::QVTank* Tank, int32_t TankID, double GaugeVolume,
                        double GaugeTCVolume, double GaugeUllage, double GaugeTemperature,
                        double GaugeLevel, double GaugeWaterVolume, double GaugeWaterLevel,
                        int32_t TankNumber, const QString& TankName, int32_t GradeID,
                        const QString& GradeName, int16_t Type, double Capacity, double Diameter,
                        int32_t GaugeID, int16_t ProbeNo, int16_t State, int32_t AlarmsMask);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Load();
    void ResetReadings();

    QPointer<Halvora::QVClient> m_client;
    int32_t m_id = -1;
    int32_t m_number = 0;
    QString m_name;
    int16_t m_type = 0;
    int32_t m_gradeID = -1;
    int32_t m_gradeNumber = 0;
    QString m_gradeName;
    QString m_gradeShortName;
    QString m_gradeCode;
    double m_capacity = 0;
    double m_diameter = 0;
    double m_theoVolume = 0;
    double m_gaugeVolume = 0;
    double m_gaugeTCVolume = 0;
    double m_gaugeUllage = 0;
    double m_gaugeTemperature = 0;
    double m_gaugeLevel = 0;
    double m_gaugeWaterVolume = 0;
    double m_gaugeWaterLevel = 0;
    int32_t m_gaugeID = -1;
    int16_t m_probeNo = 0;
    int16_t m_state = 0;
    int32_t m_alarmsMask = 0;
    bool m_responding = false; // the gauge answered with a state other than 0
};

} // namespace Halvora
