// Halvora::QVPump: the widget that shows one pump of a QVClient and acts on it when clicked.
// Bound to a client and a pump ID it registers with the client, copies the pump's properties
// and from then on receives the pump's status and deliveries from the client's event pump
// (StatusEventSink, DeliveryEventSink). It draws the pump picture with its number, the running
// sale, the nozzle, the stack of unpaid sales and the state picture, repainting only the parts
// whose values changed; a calling pump blinks (and beeps) once a second.
#pragma once
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "managed/QVDelivery.h"

namespace Halvora {

class QVClient;
class QVPopup;
class QVPresetPopup;

class QVPump : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int32_t ID READ ID WRITE SetID)
    Q_PROPERTY(Halvora::QVClient* QVClient READ Client WRITE SetQVClient)
    Q_PROPERTY(bool IsCurrentPump READ IsCurrentPump WRITE SetIsCurrentPump)
    Q_PROPERTY(bool BeepEnabled READ BeepEnabled WRITE SetBeepEnabled)
    Q_PROPERTY(Halvora::QVPump::VPopupMode PopupMode READ PopupMode WRITE SetPopupMode)
    Q_PROPERTY(int32_t Number READ Number)
    Q_PROPERTY(QString PumpName READ PumpName)
    Q_PROPERTY(int16_t PumpState READ PumpState)
    Q_PROPERTY(int16_t ReservedFor READ ReservedFor)
    Q_PROPERTY(double CurVolume READ CurVolume)
    Q_PROPERTY(double CurValue READ CurValue)
    Q_PROPERTY(int16_t StackSize READ StackSize)

  public:
    // What a click on the pump does.
    enum VPopupMode : int32_t {
        POPUP_NEVER = 1,
        POPUP_SOMETIMES = 2,
        POPUP_ALWAYS = 3,
        POPUP_PRESET = 4
    };
    Q_ENUM(VPopupMode)

    // Returned by every pump operation while no client is bound.
    static constexpr int32_t kNoClient = -21;

    explicit QVPump(QWidget* parent = nullptr);
    // Leaves its client's registry.
    ~QVPump() override;

    // Binding: setting the client stores it and loads; setting another ID leaves the client's
    // registry when the new ID is -1, stores it and loads. Loading with a client and an ID
    // registers with the client (AddQVPump) and copies the pump's properties; otherwise the
    // copy is blank (state 0, IDs -1).
    int32_t ID() const { return m_id; }
    void SetID(int32_t id);
    Halvora::QVClient* Client() const;
    void SetQVClient(Halvora::QVClient* client);

    bool IsCurrentPump() const { return m_isCurrent; }
    void SetIsCurrentPump(bool current);
    bool BeepEnabled() const { return m_beepEnabled; }
    void SetBeepEnabled(bool enabled) { m_beepEnabled = enabled; }
    VPopupMode PopupMode() const { return m_popupMode; }
    void SetPopupMode(VPopupMode mode) { m_popupMode = mode; }

    // ---- The copied values ----
    int32_t Number() const { return m_number; }
    QString PumpName() const { return m_name; }
    int16_t PhysicalNumber() const { return m_physicalNumber; }
    int16_t Side() const { return m_side; }
    int16_t Address() const { return m_address; }
    int16_t PriceLevel1() const { return m_priceLevel1; }
    int16_t PriceLevel2() const { return m_priceLevel2; }
    int16_t PumpType() const { return m_type; }
    int32_t PortID() const { return m_portID; }
    int16_t AuthMode() const { return m_authMode; }
    int16_t StackMode() const { return m_stackMode; }
    int16_t PrepayAllowed() const { return m_prepayAllowed; }
    int16_t PreauthAllowed() const { return m_preauthAllowed; }
    int16_t PumpState() const { return m_state; }         // TPumpState
    int16_t ReservedFor() const { return m_reservedFor; } // TPumpReserve
    int32_t ReservedBy() const { return m_reservedBy; }
    int32_t HoseID() const { return m_hoseID; }
    int32_t HoseNumber() const { return m_hoseNumber; }
    int32_t HosePhysicalNumber() const { return m_hosePhysicalNumber; }
    int32_t GradeID() const { return m_gradeID; }
    int32_t GradeNumber() const { return m_gradeNumber; }
    QString GradeName() const { return m_gradeName; }
    QString ShortGradeName() const { return m_shortGradeName; }
    int16_t PriceLevel() const { return m_priceLevel; }
    double CurPrice() const { return m_price; }
    double CurVolume() const { return m_volume; }
    double CurValue() const { return m_value; }
    double CurFlowRate() const { return m_curFlowRate; }
    double PeakFlowRate() const { return m_peakFlowRate; }
    int16_t StackSize() const { return m_stackSize; }
    int64_t Tag() const { return m_tag; }
    int32_t AttendantID() const { return m_attendantID; }
    int32_t AttendantNumber() const { return m_attendantNumber; }
    QString AttendantName() const { return m_attendantName; }
    int64_t AttendantTag() const { return m_attendantTag; }
    int32_t CardClientID() const { return m_cardClientID; }
    int32_t CardClientNumber() const { return m_cardClientNumber; }
    QString CardClientName() const { return m_cardClientName; }
    int64_t CardClientTag() const { return m_cardClientTag; }
    int16_t PriceFormat() const { return m_priceFormat; }   // TDisplayFormat
    int16_t VolumeFormat() const { return m_volumeFormat; } // TDisplayFormat
    int16_t ValueFormat() const { return m_valueFormat; }   // TDisplayFormat
    bool HoseUp() const { return m_hoseNumber > 0; }
    // The calling picture shows while this is on; it flips every second in state 6.
    bool CallingBlink() const { return m_blink; }
    bool CallingTimerActive() const { return m_callingTimer.isActive(); }
    // The listed deliveries (states 1 and 2), oldest first.
    const QList<QVDelivery>& Deliveries() const { return m_deliveries; }
    // The tooltip text built from the last status.
    QString TooltipText() const { return m_tooltip; }

    // The interval of the calling blink (1000 ms), shared by every pump; tests may shorten it.
    static int CallingInterval() { return s_callingInterval; }
    static void SetCallingInterval(int ms) { s_callingInterval = ms; }

    // ---- Sinks, called by the client's event pump ----

    // The pump's status: the PumpStatusEventEx3 list without pump ID and number.
    void StatusEventSink(int16_t State, int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID,
                         int32_t HoseNumber, int32_t HosePhysicalNumber, int32_t GradeID,
                         int32_t GradeNumber, const QString& GradeName,
                         const QString& ShortGradeName, int16_t PriceLevel, double Price,
                         double Volume, double Value, int16_t StackSize, const QString& PumpName,
                         int16_t PhysicalNumber, int16_t Side, int16_t Address, int16_t PriceLevel1,
                         int16_t PriceLevel2, int16_t Type, int32_t PortID, int16_t AuthMode,
                         int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                         int16_t PriceFormat, int16_t ValueFormat, int16_t VolumeFormat,
                         int64_t Tag, int32_t AttendantID, int32_t AttendantNumber,
                         const QString& AttendantName, int64_t AttendantTag, int32_t CardClientID,
                         int32_t CardClientNumber, const QString& CardClientName,
                         int64_t CardClientTag, double CurFlowRate, double PeakFlowRate);
    // A delivery of the pump: the DeliveryEventEx3 list. DeliveryID -1 empties the list; states
    // 1 and 2 are listed (a new state 1 beeps), any other state leaves the list.
    void DeliveryEventSink(int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber,
                           int32_t HosePhysicalNumber, int32_t PumpID, int32_t PumpNumber,
                           const QString& PumpName, int32_t TankID, int32_t TankNumber,
                           const QString& TankName, int32_t GradeID, int32_t GradeNumber,
                           const QString& GradeName, const QString& GradeShortName,
                           const QString& GradeCode, int16_t DeliveryState, int16_t DeliveryType,
                           double Volume, int16_t PriceLevel, double Price, double Value,
                           double Volume2, const QDateTime& CompletedDT, int32_t LockedBy,
                           int32_t ReservedBy, int32_t AttendantID, int32_t Age,
                           const QDateTime& ClearedDT, double OldVolumeETot, double OldVolume2ETot,
                           double OldValueETot, double NewVolumeETot, double NewVolume2ETot,
                           double NewValueETot, int64_t Tag, int32_t Duration,
                           int32_t AttendantNumber, const QString& AttendantName,
                           int64_t AttendantTag, int32_t CardClientID, int32_t CardClientNumber,
                           const QString& CardClientName, int64_t CardClientTag);

    // The status a client gives its registered pumps when the server connection is lost:
    // off line (state 0), no hose, no grade, amounts 0, the properties kept. It is a status like
    // any other: the status events are raised.
    void ShowConnectionLost();
    // Reads the pump's properties and status again, as a first binding does (its deliveries
    // list starts empty again); the client's call after a re-logon.
    void Reload();
    // Called by a client being destroyed.
    void ForgetClient(Halvora::QVClient* client);

    // ---- Pump operations: the client's, with this pump's ID; -21 without a client ----
    int32_t PreauthReserve(int32_t ReservedBy);
    int32_t PreauthCancel(int32_t ReservedBy);
    int32_t PreauthAuthorise(int32_t ReservedBy, int16_t LimitType, double Limit,
                             int16_t PriceLevel);
    // The preset the dialog builds: limit type, limit, hose mask (bit 1 for hose 1 ... 255 for
    // all) and price level. The library takes type and limit; mask and level are kept as
    // LastPresetHoses / LastPresetPriceLevel.
    int32_t LoadPreset(int16_t PresetType, double PresetValue, int16_t Hoses, int16_t PriceLevel);
    int32_t PaymentReserve(int32_t ReservedBy);
    int32_t PaymentCancel(int32_t ReservedBy);
    int32_t PaymentAuthorise(int32_t ReservedBy, int16_t PresetType, double PresetValue,
                             int16_t PriceType, int16_t AuthType);
    int32_t Authorise();
    int32_t CancelAuthorise();
    int32_t TempStop();
    int32_t ReAuthorise();
    int32_t TerminateDelivery();
    // Moves the current sale to the pump's stack so that the pump may sell again.
    int32_t StackCurrentDelivery();
    int32_t PrepayReserve(int32_t ReservedBy);
    int32_t PrepayCancel(int32_t ReservedBy);
    int32_t PrepayAuthorise(int32_t ReservedBy, int16_t LimitType, double Limit,
                            int16_t PriceLevel);
    int32_t AttendantAuthorise(int32_t AttendantID);
    int32_t EnablePump();
    int32_t DisablePump();
    // Logs the attendant on at this pump.
    int32_t AttendantLogon(int32_t AttendantID);
    int32_t GetHosesCount(int32_t& pCount);
    int32_t GetHoseByNumber(int32_t HoseNumber, int32_t& pHoseID);
    // The density of the product behind one of the pump's hoses (by hose ID).
    int32_t GetDensity(int32_t HoseID, double& pDensity);
    // The grade of the pump's hose with that number: GetHoseByNumber, then GetHoseSummary. The
    // first failing call's result; the outputs are then -1 and "".
    int32_t GetHoseGrade(int32_t HoseNumber, int32_t& pGradeID, QString& pGradeName);
    // The pump's delivery at Index (from 1): GetPumpDeliveryProperties and its Ex variant.
    int32_t GetDeliveryProperties(int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID,
                                  int16_t& pState, int16_t& pType, double& pVolume,
                                  int16_t& pPriceLevel, double& pPrice, double& pValue,
                                  double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                  int32_t& pReservedBy, int32_t& pAttendantID);
    int32_t GetDeliveryPropertiesEx(int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID,
                                    int16_t& pState, int16_t& pType, double& pVolume,
                                    int16_t& pPriceLevel, double& pPrice, double& pValue,
                                    double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                    int32_t& pReservedBy, int32_t& pAttendantID,
                                    QDateTime& pClearedDT, int32_t& pDuration);

    // ---- Clicks and dialogs ----

    // What a click does, by popup mode (a mouse release inside the control calls it).
    void Click();
    // The pump dialog and the preset dialog, created on first use (null before).
    QVPopup* Popup() const;
    QVPresetPopup* PresetPopup() const;
    // What a closed dialog's result does to the pump (also run when a dialog finishes).
    // `chosen`: the delivery picked in the pump dialog's list, for result OK.
    void ActOnPopupResult(int result, const QVDelivery* chosen);
    void ActOnPresetResult(int result);

  signals:
    // The client's pump-status lists with the control first.
    void StatusEvent(Halvora::QVPump* Pump, int32_t PumpID, int16_t PumpNumber, int16_t State,
                     int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID, int16_t HoseNumber,
                     int32_t GradeID, const QString& GradeName, const QString& ShortGradeName,
                     int16_t PriceLevel, double Price, double Volume, double Value,
                     int16_t StackSize);
    void StatusEventEx(Halvora::QVPump* Pump, int32_t PumpID, int16_t PumpNumber, int16_t State,
                       int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID, int16_t HoseNumber,
                       int32_t GradeID, const QString& GradeName, const QString& ShortGradeName,
                       int16_t PriceLevel, double Price, double Volume, double Value,
                       int16_t StackSize, const QString& PumpName, int16_t PhysicalNumber,
                       int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                       int16_t Type, int32_t PortID, int16_t AuthMode, int16_t StackMode,
                       int16_t PrepayAllowed, int16_t PreauthAllowed, int16_t PriceFormat,
                       int16_t ValueFormat, int16_t VolumeFormat);
    void StatusEventEx2(Halvora::QVPump* Pump, int32_t PumpID, int32_t PumpNumber, int16_t State,
                        int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID, int32_t HoseNumber,
                        int32_t HosePhysicalNumber, int32_t GradeID, int32_t GradeNumber,
                        const QString& GradeName, const QString& ShortGradeName, int16_t PriceLevel,
                        double Price, double Volume, double Value, int16_t StackSize,
                        const QString& PumpName, int16_t PhysicalNumber, int16_t Side,
                        int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2, int16_t Type,
                        int32_t PortID, int16_t AuthMode, int16_t StackMode, int16_t PrepayAllowed,
                        int16_t PreauthAllowed, int16_t PriceFormat, int16_t ValueFormat,
                        int16_t VolumeFormat, int64_t Tag, int32_t AttendantID,
                        int32_t AttendantNumber, const QString& AttendantName, int64_t AttendantTag,
                        int32_t CardClientID, int32_t CardClientNumber,
                        const QString& CardClientName, int64_t CardClientTag);
    // The client's delivery lists with the control first.
    void DeliveryEvent(Halvora::QVPump* Pump, int32_t DeliveryID, int32_t PumpID,
                       int16_t PumpNumber, int32_t HoseID, int16_t HoseNumber, int32_t GradeID,
                       const QString& GradeName, const QString& ShortGradeName, int16_t PriceLevel,
                       double Price, double Volume, double Value, int16_t DeliveryState,
                       int16_t DeliveryType, int32_t LockedBy, int32_t ReservedBy, int32_t Age,
                       const QDateTime& CompletedDT, int32_t AttendantID);
    void DeliveryEventEx(Halvora::QVPump* Pump, int32_t DeliveryID, int32_t PumpID,
                         int16_t PumpNumber, int32_t HoseID, int16_t HoseNumber, int32_t GradeID,
                         const QString& GradeName, const QString& ShortGradeName,
                         int16_t PriceLevel, double Price, double Volume, double Value,
                         int16_t DeliveryState, int16_t DeliveryType, int32_t LockedBy,
                         int32_t ReservedBy, int32_t Age, const QDateTime& CompletedDT,
                         int32_t AttendantID, double VolumeETot, double Volume2Etot,
                         double ValueETot, int64_t Tag);
    void DeliveryEventEx3(
        Halvora::QVPump* Pump, int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber,
        int32_t HosePhysicalNumber, int32_t PumpID, int32_t PumpNumber, const QString& PumpName,
        int32_t TankID, int32_t TankNumber, const QString& TankName, int32_t GradeID,
        int32_t GradeNumber, const QString& GradeName, const QString& GradeShortName,
        const QString& GradeCode, int16_t DeliveryState, int16_t DeliveryType, double Volume,
        int16_t PriceLevel, double Price, double Value, double Volume2,
        const QDateTime& CompletedDT, int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
        int32_t Age, const QDateTime& ClearedDT, double OldVolumeETot, double OldVolume2ETot,
        double OldValueETot, double NewVolumeETot, double NewVolume2ETot, double NewValueETot,
        int64_t Tag, int32_t Duration, int32_t AttendantNumber, const QString& AttendantName,
        int64_t AttendantTag, int32_t CardClientID, int32_t CardClientNumber,
        const QString& CardClientName, int64_t CardClientTag);
    // A delivery chosen by the attendant: the DeliveryEvent list of that delivery.
    void DeliverySelectedEvent(Halvora::QVPump* Pump, int32_t DeliveryID, int32_t PumpID,
                               int16_t PumpNumber, int32_t HoseID, int16_t HoseNumber,
                               int32_t GradeID, const QString& GradeName,
                               const QString& ShortGradeName, int16_t PriceLevel, double Price,
                               double Volume, double Value, int16_t DeliveryState,
                               int16_t DeliveryType, int32_t LockedBy, int32_t ReservedBy,
                               int32_t Age, const QDateTime& CompletedDT, int32_t AttendantID);
    // A pump operation a click or a dialog ran, by name, with the library's result.
    void OperationDone(const QString& Operation, int32_t Result);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Sounds one beep (the calling pump, a new current sale).
    virtual void Beep();

  private:
    void Load();
    // The status sink's work without its first load (the blank status must not call the server).
    void ApplyStatus(int16_t State, int16_t ReservedFor, int32_t ReservedBy, int32_t HoseID,
                     int32_t HoseNumber, int32_t HosePhysicalNumber, int32_t GradeID,
                     int32_t GradeNumber, const QString& GradeName, const QString& ShortGradeName,
                     int16_t PriceLevel, double Price, double Volume, double Value,
                     int16_t StackSize, const QString& PumpName, int16_t PhysicalNumber,
                     int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                     int16_t Type, int32_t PortID, int16_t AuthMode, int16_t StackMode,
                     int16_t PrepayAllowed, int16_t PreauthAllowed, int16_t PriceFormat,
                     int16_t ValueFormat, int16_t VolumeFormat, int64_t Tag, int32_t AttendantID,
                     int32_t AttendantNumber, const QString& AttendantName, int64_t AttendantTag,
                     int32_t CardClientID, int32_t CardClientNumber, const QString& CardClientName,
                     int64_t CardClientTag, double CurFlowRate, double PeakFlowRate);
    // Copies the pump's properties from the server (GetPumpProperties), then its status.
    void LoadProperties();
    // The pump's state and running sale from the server (GetPumpStatusEx2), shown as a status.
    void LoadStatus();
    void ResetCopy();
    void CallingCheck(int16_t newState);
    void OnCallingTick();
    void RebuildTooltip();
    int StackedCount() const;
    void RaiseDeliverySelected(const QVDelivery& delivery);
    void Done(const QString& operation, int32_t result);
    void OpenPopup();
    void OpenPresetPopup();
    int32_t StopOrCancel();

    QPointer<Halvora::QVClient> m_client;
    int32_t m_id = -1;
    bool m_isCurrent = false;
    bool m_loaded = false; // properties copied from the server
    // Properties.
    int32_t m_number = 0;
    QString m_name;
    int16_t m_physicalNumber = 0;
    int16_t m_side = 0;
    int16_t m_address = 0;
    int16_t m_priceLevel1 = 0;
    int16_t m_priceLevel2 = 0;
    int16_t m_type = 0;
    int32_t m_portID = -1;
    int16_t m_authMode = 0;
    int16_t m_stackMode = 0;
    int16_t m_prepayAllowed = 0;
    int16_t m_preauthAllowed = 0;
    int16_t m_priceFormat = 0;
    int16_t m_volumeFormat = 0;
    int16_t m_valueFormat = 0;
    // Status.
    int16_t m_state = 0;
    int16_t m_reservedFor = 0;
    int32_t m_reservedBy = -1;
    int32_t m_hoseID = -1;
    int32_t m_hoseNumber = 0;
    int32_t m_hosePhysicalNumber = 0;
    int32_t m_gradeID = -1;
    int32_t m_gradeNumber = 0;
    QString m_gradeName;
    QString m_shortGradeName;
    int16_t m_priceLevel = 0;
    double m_price = 0;
    double m_volume = 0;
    double m_value = 0;
    double m_curFlowRate = 0;
    double m_peakFlowRate = 0;
    int16_t m_stackSize = 0;
    int64_t m_tag = -1;
    int32_t m_attendantID = -1;
    int32_t m_attendantNumber = 0;
    QString m_attendantName;
    int64_t m_attendantTag = -1;
    int32_t m_cardClientID = -1;
    int32_t m_cardClientNumber = 0;
    QString m_cardClientName;
    int64_t m_cardClientTag = -1;
    // Display and behaviour.
    bool m_blink = false; // calling picture shown
    QTimer m_callingTimer;
    bool m_beepEnabled = false;
    QString m_tooltip;
    VPopupMode m_popupMode = POPUP_SOMETIMES;
    QPointer<QVPopup> m_popup;
    QPointer<QVPresetPopup> m_presetPopup;
    QList<QVDelivery> m_deliveries;
    static int s_callingInterval;
};

} // namespace Halvora
