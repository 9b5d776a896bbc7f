// Halvora::QVClient: the forecourt client library behind one widget. It logs the process on to a
// forecourt server, forwards the library's operations with the host's types, watches every
// result for a lost connection and then logs on again by itself every 10 s, polls the library's
// event queue every 5 s, and keeps the pump and tank controls that registered with it.
//
// Conventions of every operation:
// - The result is the library's int32_t result (0 success), passed through CheckResult.
// - IDs, numbers and counts are int32_t; small codes (states, types, formats, levels, flags)
//   int16_t with the values of Codes.h; money, volumes, prices, totals and rates double; tags
//   int64_t. Names and parameters are the library function's, outputs (names beginning with p)
//   as references.
// - Every output is written after the library call whatever its result: a failed call leaves
//   0, "" or the library's own value.
// - Texts travel as BSTRs and dates as automation dates (Conversions.h).
// - UI thread only, like every widget. Only the automatic re-logon runs its library call on a
//   thread of its own; its outcome is handled back on the UI thread.
#pragma once
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace Halvora {

class QVPump;
class QVTank;
class ReLogonAttempt;

class QVClient : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int32_t CurrentPump READ CurrentPump WRITE SetCurrentPump NOTIFY CurrentPumpEvent)

  public:
    // The message number the library is asked to post when events wait.
    static constexpr int32_t kEventMessage = 1024;
    // Defaults of the logon parameters, set at creation and again by ClientLogon.
    static constexpr int32_t kDefaultEventType = 3143;
    static constexpr int16_t kDefaultCallsPort = 5123;
    static constexpr int16_t kDefaultEventsPort = 5124;
    static constexpr int32_t kDefaultCallTimeout = 10000;

    explicit QVClient(QWidget* parent = nullptr);
    // Logs off when a logon is held.
    ~QVClient() override;

    // ---- Logon and connection ----
    // The library holds one logon per process: a logon while one is held returns 9 and changes
    // nothing. The library is given event handle -1, WindowHandle() and message 1024.

    // The local server (the library's choice) with this ID and type. On success remembers both,
    // resets the other logon parameters to their defaults and starts the event poll.
    int32_t ClientLogon(int32_t ClientID, int16_t ClientType);
    // An explicit server, ports (passed on as unsigned 16-bit values) and call timeout in ms. On
    // success remembers them, clears client name and hash key, event type 3143, category 0.
    int32_t ClientLogonEx(int32_t ClientID, int16_t ClientType, const QString& ServerName,
                          int16_t CallPortNo, int16_t EventsPortNo, int32_t CallTimeout);
    // The full logon: a client name, category, hash key and event mask too. On success
    // remembers them all (the mask as the event type re-applied after a re-logon).
    int32_t InternalClientLogon(int32_t ClientID, int16_t ClientType, const QString& ClientName,
                                int16_t ClientCategory, const QString& HashKey, int32_t EventMask,
                                const QString& ServerName, int16_t CallPortNo, int16_t EventsPortNo,
                                int32_t CallTimeout);
    // Forgets the logon (client ID -1, type 0), stops both timers and logs the library off.
    int32_t ClientLogoff();
    // Forwarded; a non-zero key whose four top bits are clear (an event mask) is also
    // remembered and applied again after an automatic re-logon.
    int32_t SetClientType(int32_t ClientKey);
    // Pumps this client holds reserved, deliveries it holds locked; the server's logons.
    int32_t ClientStatus(int32_t& pPumpsReserved, int32_t& pDeliveriesLocked);
    int32_t GetClientsCount(int32_t& pCount);
    // 0 and "Halvora .NET package Version(2,5,8,0:B19) Built(<date> at <time>)", the build's
    // date as "Jan  7 2025" and time as "13:52:41".
    int32_t GetNETVersion(QString& pVersionStr);
    // The library's version (DllVersion) and the server's (ServerVersion).
    int32_t GetDLLVersion(QString& pVersionStr);
    int32_t GetServerVersion(QString& pVersionStr);
    // The library's text of a result.
    QString ResultString(int32_t Result);

    // The connection watch applied to every library result: -23, -14 and 8 mean the server
    // connection is gone. Then every registered control is given the blank status (through its
    // status sink, so its status events are raised), -14 raises ServerConnectionBroken, the
    // library is logged off, the event poll stops and the re-logon timer starts. While a re-logon
    // is already pending (its timer running or its logon under way) such a result changes
    // nothing, so that a host calling more often than the timer ticks is still logged on again.
    // Returns res unchanged.
    int32_t CheckResult(int32_t res);
    // The event pump: moves what the server sent into the library's queue (ProcessEvents, through
    // CheckResult) and raises each waiting event by its kind. Kinds without a reader here, and an
    // event whose reader fails, are dropped with DiscardNextEvent so the queue always drains.
    void CheckEvents();
    // The event poll tick: CheckEvents, then TestConnection through CheckResult, then
    // ServerReconnected when the library's WasReconnected says it attached a new events
    // connection since the last tick.
    void PollEvents();
    // The library's notice that events wait or that its socket closed (the window message's
    // parameter): CheckSocketClosed giving -14 is a lost connection, anything else an event poll.
    void OnLibraryMessage(int32_t Param);

    // ---- Display controls ----

    // Registers a control (each at most once); true when it was added.
    bool AddQVPump(QVPump* pump);
    bool AddQVTank(QVTank* tank);
    // Unregisters a control; true when it was registered.
    bool RemoveQVPump(QVPump* pump);
    bool RemoveQVTank(QVTank* tank);
    int PumpsRegistered() const { return _QVPumpsList.size(); }
    int TanksRegistered() const { return _QVTanksList.size(); }

    // The pump the host works on. Setting another ID moves the current-pump mark from the
    // registered control of the old pump to that of the new one and raises CurrentPumpEvent;
    // setting the same ID does nothing.
    int32_t CurrentPump() const { return _currentPumpID; }
    void SetCurrentPump(int32_t pumpID);

    // ---- What the control remembers ----

    bool LoggedOn() const { return _loggedOn; }
    int32_t RememberedClientID() const { return _clientID; }
    int16_t RememberedClientType() const { return _clientType; }
    QString RememberedServerName() const { return _serverName; }
    QString RememberedClientName() const { return _clientName; }
    int16_t RememberedClientCategory() const { return _clientCategory; }
    QString RememberedHashKey() const { return _hashKey; }
    int16_t RememberedCallsPort() const { return _callsPort; }
    int16_t RememberedEventsPort() const { return _eventsPort; }
    int32_t RememberedCallTimeout() const { return _callTimeout; }
    int32_t RememberedEventType() const { return _clientEventType; }
    // The re-logon timer runs or its logon is under way.
    bool ReLogonPending() const { return _nTimer.isActive() || _reLogon != nullptr; }
    bool EventPollRunning() const { return _eventTimer.isActive(); }
    // The window handle given to the library with every logon: a window of
    // platform/WindowMessages.h registered for the control's lifetime, whose messages become
    // queued calls of OnLibraryMessage on the control's thread.
    intptr_t WindowHandle() const { return _window; }

    // The intervals of the re-logon timer (10000 ms) and of the event poll (5000 ms), shared by
    // every control; tests and demos may shorten them.
    static int ReLogonTimeout() { return _reLogonTimeout; }
    static int EventTimeout() { return _eventTimeout; }
    static void SetTimeouts(int reLogonMs, int eventMs);

    // ---- Pumps ----
    int32_t GetPumpsCount(int32_t& pCount);
    int32_t GetPumpByNumber(int32_t Number, int32_t& pID);
    int32_t GetPumpByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetPumpProperties(int32_t ID, int32_t& pNumber, QString& pName,
                              int16_t& pPhysicalNumber, int16_t& pSide, int16_t& pAddress,
                              int16_t& pPriceLevel1, int16_t& pPriceLevel2,
                              int16_t& pPriceDspFormat, int16_t& pVolumeDspFormat,
                              int16_t& pValueDspFormat, int16_t& pType, int32_t& pPortID,
                              int32_t& pAttendantID, int16_t& pAuthMode, int16_t& pStackMode,
                              int16_t& pPrepayAllowed, int16_t& pPreauthAllowed);
    int32_t SetPumpProperties(int32_t ID, int32_t Number, const QString& Name,
                              int16_t PhysicalNumber, int16_t Side, int16_t Address,
                              int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                              int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                              int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                              int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed);
    int32_t GetPumpPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                int16_t& pPhysicalNumber, int16_t& pSide, int16_t& pAddress,
                                int16_t& pPriceLevel1, int16_t& pPriceLevel2,
                                int16_t& pPriceDspFormat, int16_t& pVolumeDspFormat,
                                int16_t& pValueDspFormat, int16_t& pType, int32_t& pPortID,
                                int32_t& pAttendantID, int16_t& pAuthMode, int16_t& pStackMode,
                                int16_t& pPrepayAllowed, int16_t& pPreauthAllowed,
                                int32_t& pSlotZigBeeID, int32_t& pMuxSlotZigBeeID,
                                int16_t& pPriceControl, int16_t& pHasPreset);
    int32_t SetPumpPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                int16_t PhysicalNumber, int16_t Side, int16_t Address,
                                int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                                int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                                int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                                int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                                int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                                int16_t HasPreset);
    int32_t DeletePump(int32_t ID);
    int32_t GetPumpHosesCount(int32_t PumpID, int32_t& pCount);
    int32_t GetPumpHoseByNumber(int32_t PumpID, int32_t HoseNumber, int32_t& pHoseID);
    int32_t GetPumpDeliveryPropertiesEx4(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                         int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                         double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                         double& pValue, double& pVolume2, QDateTime& pCompletedDT,
                                         int32_t& pLockedBy, int32_t& pReservedBy,
                                         int32_t& pAttendantID, QDateTime& pClearedDT,
                                         int32_t& pDuration, int32_t& pCardClientID, int64_t& pTag,
                                         int32_t& pGradeID, int32_t& pTankID, int16_t& pLoggedState,
                                         int32_t& pClearedBy);

    // ---- Pump control ----
    int32_t PreauthReserve(int32_t PumpID, int32_t ReservedBy);
    int32_t PreauthCancel(int32_t PumpID, int32_t ReservedBy);
    int32_t PreauthAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t LimitType, double Limit,
                             int16_t PriceLevel);
    int32_t LoadPreset(int32_t PumpID, int16_t PresetType, double PresetValue, int16_t Hoses,
                       int16_t PriceLevel);
    int32_t LoadPresetWithPrice(int32_t PumpID, int16_t PresetType, double PresetValue,
                                int16_t PriceLevel, double Price);
    int32_t TagAuthorise(int32_t PumpID, int64_t Tag, int16_t LimitType, double Limit);
    int32_t PaymentReserve(int32_t PumpID, int32_t ReservedBy);
    int32_t PaymentCancel(int32_t PumpID, int32_t ReservedBy);
    int32_t PaymentAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t PresetType,
                             double PresetValue, int16_t PriceType, int16_t AuthType);
    int32_t Authorise(int32_t PumpID);
    int32_t CancelAuthorise(int32_t PumpID);
    int32_t TempStop(int32_t PumpID);
    int32_t ReAuthorise(int32_t PumpID);
    int32_t TerminateDelivery(int32_t PumpID);
    int32_t AllStop();
    int32_t PrepayReserve(int32_t PumpID, int32_t ReservedBy);
    int32_t PrepayCancel(int32_t PumpID, int32_t ReservedBy);
    int32_t PrepayAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t LimitType, double Limit,
                            int16_t PriceLevel);
    int32_t AttendantAuthorise(int32_t PumpID, int32_t AttendantID);
    int32_t StackCurrentDelivery(int32_t PumpID);
    int32_t AllStopIfIdle();
    int32_t AllAuthorise();
    int32_t AllReAuthorise();
    int32_t EnablePump(int32_t ID);
    int32_t DisablePump(int32_t ID);
    int32_t LockDelivery(int32_t ID);
    int32_t UnlockDelivery(int32_t ID);

    // ---- Pump status ----
    int32_t GetPumpStatus(int32_t ID, int16_t& pState, int16_t& pReservedFor, int32_t& pReservedBy,
                          int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pGradeID,
                          QString& pGradeName, QString& pShortGradeName, int16_t& pPriceLevel,
                          double& pPrice, double& pVolume, double& pValue, int32_t& pStackSize);
    int32_t GetPumpStatusEx(int32_t ID, int32_t& pPumpNumber, QString& pPumpName,
                            int16_t& pPhysicalNumber, int16_t& pState, int16_t& pReservedFor,
                            int32_t& pReservedBy, int32_t& pHoseID, int32_t& pHoseNumber,
                            int32_t& pHosePhysicalNumber, int32_t& pGradeID, int32_t& pGradeNumber,
                            QString& pGradeName, QString& pShortGradeName, int16_t& pPriceLevel,
                            double& pPrice, double& pVolume, double& pValue, int32_t& pStackSize,
                            int64_t& pTag, int32_t& pAttendantID, int32_t& pAttendantNumber,
                            QString& pAttendantName, int64_t& pAttendantTag, int32_t& pCardClientID,
                            int32_t& pCardClientNumber, QString& pCardClientName,
                            int64_t& pCardClientTag);
    int32_t GetPumpStatusEx2(int32_t ID, int32_t& pPumpNumber, QString& pPumpName,
                             int16_t& pPhysicalNumber, int16_t& pState, int16_t& pReservedFor,
                             int32_t& pReservedBy, int32_t& pHoseID, int32_t& pHoseNumber,
                             int32_t& pHosePhysicalNumber, int32_t& pGradeID, int32_t& pGradeNumber,
                             QString& pGradeName, QString& pShortGradeName, int16_t& pPriceLevel,
                             double& pPrice, double& pVolume, double& pValue, int32_t& pStackSize,
                             int64_t& pTag, int32_t& pAttendantID, int32_t& pAttendantNumber,
                             QString& pAttendantName, int64_t& pAttendantTag,
                             int32_t& pCardClientID, int32_t& pCardClientNumber,
                             QString& pCardClientName, int64_t& pCardClientTag,
                             double& pCurFlowRate, double& pPeakFlowRate);
    // One character per pump in ID order (states, current hoses, deliveries held).
    int32_t GetAllPumpStatuses(QString& pStates, QString& pCurrentHoses, QString& pDeliveriesCount);
    // The library's texts of the codes.
    QString PumpStateString(int16_t State);
    QString DeliveryStateString(int16_t State);
    QString DeliveryTypeString(int16_t Type);
    QString ReserveTypeString(int16_t Type);

    // ---- Forecourt ----
    int32_t TankDrop(int32_t TankID, double Volume);
    int32_t AttendantLogon(int32_t ID, int32_t PumpID);
    int32_t AttendantLogoff(int32_t ID);
    int32_t FireClientEvent(int32_t EventID, const QString& EventText);

    // ---- Terminals and the ZigBee coordinator (the library's documents the values) ----
    int32_t SetZBCoordPan(int32_t PortID, int32_t PanID);
    int32_t SetLineMode(int32_t PortID, int16_t LineMode);
    int32_t QVTermPrompt(int32_t PumpID, int32_t PromptID, const QString& PromptText,
                         int16_t InputType, int16_t MaxLength, int32_t Timeout);
    int32_t ScheduleBeep(int32_t PumpID, int16_t Pattern, int16_t Repeats);
    int32_t FlashLEDS(int32_t PumpID, int16_t LEDMask, int32_t Duration);

    // ---- Records by number and by name ----
    int32_t GetPumpByName(const QString& Name, int32_t& pID);
    int32_t GetGradeByNumber(int32_t Number, int32_t& pID);
    int32_t GetGradeByName(const QString& Name, int32_t& pID);
    int32_t GetTankByNumber(int32_t Number, int32_t& pID);
    int32_t GetTankByName(const QString& Name, int32_t& pID);
    int32_t GetAttendantByNumber(int32_t Number, int32_t& pID);
    int32_t GetAttendantByName(const QString& Name, int32_t& pID);
    int32_t GetCardClientByNumber(int32_t Number, int32_t& pID);
    int32_t GetCardClientByName(const QString& Name, int32_t& pID);
    int32_t GetZigBeeByNumber(int32_t Number, int32_t& pID);
    int32_t GetZigBeeByName(const QString& Name, int32_t& pID);
    int32_t GetSensorByNumber(int32_t Number, int32_t& pID);
    int32_t GetSensorByName(const QString& Name, int32_t& pID);
    int32_t GetProductByName(const QString& Name, int32_t& pID);
    int32_t GetCardReadByNumber(int32_t Number, int32_t& pID);
    int32_t GetCardReadByName(const QString& Name, int32_t& pID);
    int32_t GetCardReadsCount(int32_t& pCount);

    // ---- Hoses ----
    int32_t GetHosesCount(int32_t& pCount);
    int32_t GetHoseByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetHosePropertiesEx(int32_t ID, int32_t& pNumber, int32_t& pPumpID, int32_t& pTankID,
                                int32_t& pPhysicalNumber, double& pMtrTheoValue,
                                double& pMtrTheoVolume, double& pMtrElecValue,
                                double& pMtrElecVolume, int16_t& pUVEAntenna);
    int32_t GetHosePropertiesEx2(int32_t ID, int32_t& pNumber, int32_t& pPumpID, int32_t& pTankID,
                                 int32_t& pPhysicalNumber, double& pMtrTheoValue,
                                 double& pMtrTheoVolume, double& pMtrElecValue,
                                 double& pMtrElecVolume, int16_t& pUVEAntenna, double& pPrice1,
                                 double& pPrice2, int16_t& pEnabled);
    int32_t GetHosePropertiesEx3(int32_t ID, int32_t& pNumber, int32_t& pPumpID, int32_t& pTankID,
                                 int32_t& pPhysicalNumber, double& pMtrTheoValue,
                                 double& pMtrTheoVolume, double& pMtrElecValue,
                                 double& pMtrElecVolume, int16_t& pUVEAntenna, double& pPrice1,
                                 double& pPrice2, double& pPrice3, double& pPrice4,
                                 int16_t& pEnabled);
    int32_t GetHoseSummary(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                           int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                           int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName);
    int32_t GetHoseSummaryEx(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                             int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                             int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName,
                             double& pPrice1, double& pPrice2, double& pPrice3, double& pPrice4,
                             int16_t& pEnabled);
    int32_t GetHoseSummaryEx2(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                              int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                              int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName,
                              double& pPrice1, double& pPrice2, double& pPrice3, double& pPrice4,
                              int16_t& pEnabled, double& pMtrTheoValue, double& pMtrTheoVolume,
                              double& pMtrElecValue, double& pMtrElecVolume);
    int32_t SetHosePropertiesEx(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                                double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna);
    int32_t SetHosePropertiesEx2(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                 int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                                 double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna,
                                 double Price1, double Price2, int16_t Enabled);
    int32_t SetHosePropertiesEx3(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                 int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                                 double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna,
                                 double Price1, double Price2, double Price3, double Price4,
                                 int16_t Enabled);
    int32_t DeleteHose(int32_t ID);
    int32_t SetHosePrices(int32_t HoseID, int16_t DurationType, int16_t PriceType, double Price1,
                          double Price2);
    int32_t GetHosePrices(int32_t HoseID, int16_t& pDurationType, int16_t& pPriceType,
                          double& pPrice1, double& pPrice2);
    int32_t SetHosePricesEx(int32_t HoseID, int16_t DurationType, int16_t PriceType, double Price1,
                            double Price2, double Price3, double Price4);
    int32_t GetHosePricesEx(int32_t HoseID, int16_t& pDurationType, int16_t& pPriceType,
                            double& pPrice1, double& pPrice2, double& pPrice3, double& pPrice4);

    // ---- Deliveries ----
    int32_t GetDeliveriesCount(int32_t PumpID, int32_t& pCount);
    int32_t GetDeliveryByOrdinal(int32_t PumpID, int32_t Ordinal, int32_t& pID);
    int32_t GetDeliveriesCountFiltered(int32_t PumpID, int16_t State, int16_t Type,
                                       const QDateTime& FromDT, const QDateTime& ToDT,
                                       int32_t& pCount);
    int32_t GetDeliveryIDByOrdinalFiltered(int32_t PumpID, int16_t State, int16_t Type,
                                           const QDateTime& FromDT, const QDateTime& ToDT,
                                           int32_t Ordinal, int32_t& pID);
    int32_t GetDeliveriesCountFilteredEx(int32_t PumpID, int16_t State, int16_t Type,
                                         const QDateTime& FromDT, const QDateTime& ToDT,
                                         int32_t AttendantID, int32_t CardClientID,
                                         int32_t& pCount);
    int32_t GetDeliveryIDByOrdinalFilteredEx(int32_t PumpID, int16_t State, int16_t Type,
                                             const QDateTime& FromDT, const QDateTime& ToDT,
                                             int32_t AttendantID, int32_t CardClientID,
                                             int32_t Ordinal, int32_t& pID);
    int32_t GetDeliveriesCountNotLogged(int32_t& pCount);
    int32_t GetDeliveryIDByOrdinalNotLogged(int32_t Ordinal, int32_t& pID);
    int32_t AckDeliveryDBLog(int32_t ID);
    int32_t GetDeliveriesCountNotVolLogged(int32_t& pCount);
    int32_t GetDeliveryIDByOrdinalNotVolLogged(int32_t Ordinal, int32_t& pID);
    int32_t AckDeliveryVolLog(int32_t ID);
    // The three newer summaries also hand a delivery they read to FireDeliveryEvent, so that a
    // registered control of its pump learns of it; a failed read hands nothing on.
    int32_t GetDeliverySummaryEx2(
        int32_t ID, int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pHoseID, int32_t& pHoseNumber,
        int32_t& pGradeID, QString& pGradeName, QString& pShortGradeName, int16_t& pPriceLevel,
        double& pPrice, double& pVolume, double& pValue, int16_t& pDeliveryState,
        int16_t& pDeliveryType, int32_t& pLockedBy, int32_t& pReservedBy, int32_t& pAge,
        QDateTime& pCompletedDT, int32_t& pAttendantID, double& pOldVolumeETot,
        double& pOldVolume2ETot, double& pOldValueETot, double& pNewVolumeETot,
        double& pNewVolume2ETot, double& pNewValueETot, int64_t& pTag, int32_t& pDuration);
    int32_t GetDeliverySummaryEx3(
        int32_t ID, int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pHosePhysicalNumber,
        int32_t& pPumpID, int32_t& pPumpNumber, QString& pPumpName, int32_t& pTankID,
        int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID, int32_t& pGradeNumber,
        QString& pGradeName, QString& pGradeShortName, QString& pGradeCode, int16_t& pDeliveryState,
        int16_t& pDeliveryType, double& pVolume, int16_t& pPriceLevel, double& pPrice,
        double& pValue, double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
        int32_t& pReservedBy, int32_t& pAttendantID, int32_t& pAge, QDateTime& pClearedDT,
        double& pOldVolumeETot, double& pOldVolume2ETot, double& pOldValueETot,
        double& pNewVolumeETot, double& pNewVolume2ETot, double& pNewValueETot, int64_t& pTag,
        int32_t& pDuration, int32_t& pAttendantNumber, QString& pAttendantName,
        int64_t& pAttendantTag, int32_t& pCardClientID, int32_t& pCardClientNumber,
        QString& pCardClientName, int64_t& pCardClientTag);
    int32_t GetDeliverySummaryEx4(
        int32_t ID, int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pHosePhysicalNumber,
        int32_t& pPumpID, int32_t& pPumpNumber, QString& pPumpName, int32_t& pTankID,
        int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID, int32_t& pGradeNumber,
        QString& pGradeName, QString& pGradeShortName, QString& pGradeCode, int16_t& pDeliveryState,
        int16_t& pDeliveryType, double& pVolume, int16_t& pPriceLevel, double& pPrice,
        double& pValue, double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
        int32_t& pReservedBy, int32_t& pAttendantID, int32_t& pAge, QDateTime& pClearedDT,
        double& pOldVolumeETot, double& pOldVolume2ETot, double& pOldValueETot,
        double& pNewVolumeETot, double& pNewVolume2ETot, double& pNewValueETot, int64_t& pTag,
        int32_t& pDuration, int32_t& pAttendantNumber, QString& pAttendantName,
        int64_t& pAttendantTag, int32_t& pCardClientID, int32_t& pCardClientNumber,
        QString& pCardClientName, int64_t& pCardClientTag, double& pPeakFlowRate);
    int32_t GetDeliveryProperties(int32_t ID, int32_t& pPumpID, int32_t& pHoseID, int16_t& pState,
                                  int16_t& pType, double& pVolume, int16_t& pPriceLevel,
                                  double& pPrice, double& pValue, double& pVolume2,
                                  QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy,
                                  int32_t& pAttendantID);
    int32_t GetDeliveryPropertiesEx(int32_t ID, int32_t& pPumpID, int32_t& pHoseID, int16_t& pState,
                                    int16_t& pType, double& pVolume, int16_t& pPriceLevel,
                                    double& pPrice, double& pValue, double& pVolume2,
                                    QDateTime& pCompletedDT, int32_t& pLockedBy,
                                    int32_t& pReservedBy, int32_t& pAttendantID,
                                    QDateTime& pClearedDT, int32_t& pDuration);
    int32_t GetDeliveryPropertiesEx2(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                     int16_t& pState, int16_t& pType, double& pVolume,
                                     int16_t& pPriceLevel, double& pPrice, double& pValue,
                                     double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                     int32_t& pReservedBy, int32_t& pAttendantID,
                                     QDateTime& pClearedDT, int32_t& pDuration,
                                     int32_t& pCardClientID, int64_t& pTag);
    int32_t GetDeliveryPropertiesEx3(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                     int16_t& pState, int16_t& pType, double& pVolume,
                                     int16_t& pPriceLevel, double& pPrice, double& pValue,
                                     double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                     int32_t& pReservedBy, int32_t& pAttendantID,
                                     QDateTime& pClearedDT, int32_t& pDuration,
                                     int32_t& pCardClientID, int64_t& pTag, int32_t& pGradeID,
                                     int32_t& pTankID);
    int32_t GetDeliveryPropertiesEx4(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                     int16_t& pState, int16_t& pType, double& pVolume,
                                     int16_t& pPriceLevel, double& pPrice, double& pValue,
                                     double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy,
                                     int32_t& pReservedBy, int32_t& pAttendantID,
                                     QDateTime& pClearedDT, int32_t& pDuration,
                                     int32_t& pCardClientID, int64_t& pTag, int32_t& pGradeID,
                                     int32_t& pTankID, int16_t& pLoggedState, int32_t& pClearedBy);
    int32_t SetDeliveryPropertiesEx(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                    int16_t Type, double Volume, int16_t PriceLevel, double Price,
                                    double Value, double Volume2, const QDateTime& CompletedDT,
                                    int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                    const QDateTime& ClearedDT, int32_t Duration);
    int32_t SetDeliveryPropertiesEx3(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                     int16_t Type, double Volume, int16_t PriceLevel, double Price,
                                     double Value, double Volume2, const QDateTime& CompletedDT,
                                     int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                     const QDateTime& ClearedDT, int32_t Duration,
                                     int32_t CardClientID, int64_t Tag, int32_t GradeID,
                                     int32_t TankID);
    int32_t SetDeliveryPropertiesEx4(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                     int16_t Type, double Volume, int16_t PriceLevel, double Price,
                                     double Value, double Volume2, const QDateTime& CompletedDT,
                                     int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                     const QDateTime& ClearedDT, int32_t Duration,
                                     int32_t CardClientID, int64_t Tag, int32_t GradeID,
                                     int32_t TankID, int16_t LoggedState, int32_t ClearedBy);
    int32_t ClearDelivery(int32_t ID, int16_t DeliveryType);
    int32_t LockAndClearDelivery(int32_t ID, int16_t DeliveryType);
    int32_t SetDeliveryExt(int32_t ID, const QString& Ext);
    int32_t GetDeliveryExt(int32_t ID, QString& pExt);
    int32_t SetNextDeliveryID(int32_t NextID);

    // ---- Grades ----
    int32_t GetGradesCount(int32_t& pCount);
    int32_t GetGradeByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetGradeProperties(int32_t ID, int32_t& pNumber, QString& pName, QString& pShortName,
                               QString& pCode);
    int32_t SetGradeProperties(int32_t ID, int32_t Number, const QString& Name,
                               const QString& ShortName, const QString& Code);
    int32_t GetGradePropertiesEx(int32_t ID, int32_t& pNumber, QString& pName, QString& pShortName,
                                 QString& pCode, int16_t& pType);
    int32_t SetGradePropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                 const QString& ShortName, const QString& Code, int16_t Type);
    int32_t DeleteGrade(int32_t ID);
    int32_t SetGradePrice(int32_t ID, int16_t Level, double Price);
    int32_t GetGradePrice(int32_t ID, int16_t Level, double& pPrice);

    // ---- Tanks ----
    int32_t GetTanksCount(int32_t& pCount);
    int32_t GetTankByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetTankProperties(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pGradeID,
                              int16_t& pType, double& pCapacity, double& pDiameter,
                              double& pTheoVolume, double& pGaugeVolume, double& pGaugeTCVolume,
                              double& pGaugeUllage, double& pGaugeTemperature, double& pGaugeLevel,
                              double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                              int32_t& pGaugeID, int16_t& pProbeNo);
    int32_t GetTankPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pGradeID,
                                int16_t& pType, double& pCapacity, double& pDiameter,
                                double& pTheoVolume, double& pGaugeVolume, double& pGaugeTCVolume,
                                double& pGaugeUllage, double& pGaugeTemperature,
                                double& pGaugeLevel, double& pGaugeWaterVolume,
                                double& pGaugeWaterLevel, int32_t& pGaugeID, int16_t& pProbeNo,
                                int32_t& pGaugeAlarmsMask);
    int32_t GetTankPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pGradeID,
                                 int16_t& pType, double& pCapacity, double& pDiameter,
                                 double& pTheoVolume, double& pGaugeVolume, double& pGaugeTCVolume,
                                 double& pGaugeUllage, double& pGaugeTemperature,
                                 double& pGaugeLevel, double& pGaugeWaterVolume,
                                 double& pGaugeWaterLevel, int32_t& pGaugeID, int16_t& pProbeNo,
                                 int32_t& pGaugeAlarmsMask, int32_t& pSlotZigBeeID,
                                 int16_t& pProbeType, int32_t& pProbeSerialNo);
    int32_t GetTankSummary(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                           double& pGaugeUllage, double& pGaugeTemperature, double& pGaugeLevel,
                           double& pGaugeWaterVolume, double& pGaugeWaterLevel);
    int32_t GetTankSummaryEx(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                             double& pGaugeUllage, double& pGaugeTemperature, double& pGaugeLevel,
                             double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                             int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID,
                             QString& pGradeName, int16_t& pType, double& pCapacity,
                             double& pDiameter, int32_t& pGaugeID, int16_t& pProbeNo);
    int32_t GetTankSummaryEx2(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                              double& pGaugeUllage, double& pGaugeTemperature, double& pGaugeLevel,
                              double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                              int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID,
                              QString& pGradeName, int16_t& pType, double& pCapacity,
                              double& pDiameter, int32_t& pGaugeID, int16_t& pProbeNo,
                              int16_t& pState, int32_t& pAlarmsMask);
    int32_t SetTankPropertiesEx(int32_t ID, int32_t Number, const QString& Name, int32_t GradeID,
                                int16_t Type, double Capacity, double Diameter, double TheoVolume,
                                double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                                double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                                double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo,
                                int32_t GaugeAlarmsMask);
    int32_t SetTankPropertiesEx2(int32_t ID, int32_t Number, const QString& Name, int32_t GradeID,
                                 int16_t Type, double Capacity, double Diameter, double TheoVolume,
                                 double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                                 double GaugeTemperature, double GaugeLevel,
                                 double GaugeWaterVolume, double GaugeWaterLevel, int32_t GaugeID,
                                 int16_t ProbeNo, int32_t GaugeAlarmsMask, int32_t SlotZigBeeID,
                                 int16_t ProbeType, int32_t ProbeSerialNo);

    // ---- Ports ----
    int32_t GetPortsCount(int32_t& pCount);
    int32_t GetPortByNumber(int32_t Number, int32_t& pID);
    int32_t GetPortByName(const QString& Name, int32_t& pID);
    int32_t GetPortByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetPortProperties(int32_t ID, int32_t& pNumber, QString& pName, int16_t& pProtocolID,
                              int16_t& pDeviceType, QString& pSerialNo);
    int32_t SetPortProperties(int32_t ID, int32_t Number, const QString& Name, int16_t ProtocolID,
                              int16_t DeviceType, const QString& SerialNo);
    // The server gives an added record the next free ID and Number (pID, pNumber).
    int32_t AddPort(int32_t& pID, int32_t& pNumber, const QString& Name, int16_t ProtocolID,
                    int16_t DeviceType, const QString& SerialNo);
    int32_t RemovePort(int32_t ID);

    // ---- Attendants ----
    int32_t GetAttendantsCount(int32_t& pCount);
    int32_t GetAttendantByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetAttendantProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                   QString& pShortName, QString& pPassword, QString& pTag);
    int32_t SetAttendantProperties(int32_t ID, int32_t Number, const QString& Name,
                                   const QString& ShortName, const QString& Password,
                                   const QString& Tag);
    int32_t GetAttendantPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                     QString& pShortName, QString& pPassword, QString& pTag,
                                     int16_t& pShiftAStart, int16_t& pShiftAEnd,
                                     int16_t& pShiftBStart, int16_t& pShiftBEnd, int16_t& pType);
    int32_t SetAttendantPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                     const QString& ShortName, const QString& Password,
                                     const QString& Tag, int16_t ShiftAStart, int16_t ShiftAEnd,
                                     int16_t ShiftBStart, int16_t ShiftBEnd, int16_t Type);
    int32_t GetAttendantPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName,
                                      QString& pShortName, QString& pPassword, QString& pTag,
                                      QString& pIDNumber, int16_t& pShiftAStart,
                                      int16_t& pShiftAEnd, int16_t& pShiftBStart,
                                      int16_t& pShiftBEnd, int16_t& pType);
    int32_t SetAttendantPropertiesEx2(int32_t ID, int32_t Number, const QString& Name,
                                      const QString& ShortName, const QString& Password,
                                      const QString& Tag, const QString& IDNumber,
                                      int16_t ShiftAStart, int16_t ShiftAEnd, int16_t ShiftBStart,
                                      int16_t ShiftBEnd, int16_t Type);
    int32_t DeleteAttendant(int32_t ID);
    int32_t AddAttendant(int32_t& pID, int32_t& pNumber, const QString& Name,
                         const QString& ShortName, const QString& Password, const QString& Tag,
                         const QString& IDNumber, int16_t ShiftAStart, int16_t ShiftAEnd,
                         int16_t ShiftBStart, int16_t ShiftBEnd, int16_t Type);
    // pLoggedOn 1 while logged on, with the pump (-1: at none).
    int32_t GetAttendantState(int32_t ID, int16_t& pLoggedOn, int32_t& pPumpID);

    // ---- Card clients ----
    int32_t GetCardClientsCount(int32_t& pCount);
    int32_t GetCardClientByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetCardClientProperties(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                    int16_t& pEnabled);
    int32_t GetCardClientPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                      int16_t& pEnabled, int16_t& pPriceLevel, QString& pPlate);
    int32_t GetCardClientPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                       int16_t& pEnabled, int16_t& pPriceLevel, QString& pPlate,
                                       int16_t& pGradeType, int16_t& pCardType, int16_t& pLimitType,
                                       double& pLimit, int16_t& pEntryType,
                                       QDateTime& pExpirationDate, int32_t& pParentID);
    int32_t GetCardClientPropertiesEx3(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                       int16_t& pEnabled, int16_t& pPriceLevel, QString& pPlate,
                                       QString& pIDNumber, QString& pShortName, QString& pPassword,
                                       int16_t& pGradeType, int16_t& pCardType, int16_t& pLimitType,
                                       double& pLimit, int16_t& pEntryType,
                                       QDateTime& pExpirationDate, int32_t& pParentID);
    int32_t GetCardClientPropertiesEx4(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                       int16_t& pEnabled, int16_t& pPriceLevel, QString& pPlate,
                                       QString& pIDNumber, QString& pShortName, QString& pPassword,
                                       int16_t& pGradeType, int16_t& pCardType, int16_t& pLimitType,
                                       double& pLimit, int16_t& pEntryType,
                                       QDateTime& pExpirationDate, int32_t& pParentID,
                                       QString& pQVOdoSerialNo, double& pOdometer,
                                       int32_t& pFactor);
    int32_t SetCardClientPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                      const QString& Tag, int16_t Enabled, int16_t PriceLevel,
                                      const QString& Plate);
    int32_t SetCardClientPropertiesEx2(int32_t ID, int32_t Number, const QString& Name,
                                       const QString& Tag, int16_t Enabled, int16_t PriceLevel,
                                       const QString& Plate, int16_t GradeType, int16_t CardType,
                                       int16_t LimitType, double Limit, int16_t EntryType,
                                       const QDateTime& ExpirationDate, int32_t ParentID);
    int32_t SetCardClientPropertiesEx3(int32_t ID, int32_t Number, const QString& Name,
                                       const QString& Tag, int16_t Enabled, int16_t PriceLevel,
                                       const QString& Plate, const QString& IDNumber,
                                       const QString& ShortName, const QString& Password,
                                       int16_t GradeType, int16_t CardType, int16_t LimitType,
                                       double Limit, int16_t EntryType,
                                       const QDateTime& ExpirationDate, int32_t ParentID);
    int32_t SetCardClientPropertiesEx4(
        int32_t ID, int32_t Number, const QString& Name, const QString& Tag, int16_t Enabled,
        int16_t PriceLevel, const QString& Plate, const QString& IDNumber, const QString& ShortName,
        const QString& Password, int16_t GradeType, int16_t CardType, int16_t LimitType,
        double Limit, int16_t EntryType, const QDateTime& ExpirationDate, int32_t ParentID,
        const QString& QVOdoSerialNo, double Odometer, int32_t Factor);
    int32_t DeleteCardClient(int32_t ID);
    int32_t GetCardType(const QString& Tag, int16_t& pCardType, int32_t& pID);
    int32_t SetCardClientProperties(int32_t ID, int32_t Number, const QString& Name,
                                    const QString& Tag, int16_t Enabled);
    int32_t AddCardClient(int32_t& pID, int32_t& pNumber, const QString& Name, const QString& Tag,
                          int16_t Enabled, int16_t PriceLevel, const QString& Plate,
                          const QString& IDNumber, const QString& ShortName,
                          const QString& Password, int16_t GradeType, int16_t CardType,
                          int16_t LimitType, double Limit, int16_t EntryType,
                          const QDateTime& ExpirationDate, int32_t ParentID,
                          const QString& QVOdoSerialNo, double Odometer, int32_t Factor);
    // The card client with that card Tag: 3 when none (the outputs then hold their defaults).
    int32_t FindCard(const QString& Tag, int32_t& pID, int32_t& pNumber, QString& pName,
                     int16_t& pCardType, int16_t& pEnabled, int16_t& pLimitType, double& pLimit);

    // ---- Card reads ----
    int32_t GetCardReadByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetCardReadProperties(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pPumpID,
                                  int16_t& pType, int32_t& pParentID, int64_t& pTag,
                                  QDateTime& pTimeStamp);
    int32_t DeleteCardRead(int32_t ID);
    int32_t SetCardReadProperties(int32_t ID, int32_t Number, const QString& Name, int32_t PumpID,
                                  int16_t Type, int32_t ParentID, int64_t Tag,
                                  const QDateTime& TimeStamp);

    // ---- ZigBee devices ----
    int32_t GetZigBeeCount(int32_t& pCount);
    int32_t GetZigBeeByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetZigBeeProperties(int32_t ID, int32_t& pNumber, QString& pName, int16_t& pDeviceType,
                                QString& pSerialNumber, QString& pNodeIdentifier, int32_t& pPortID);
    int32_t SetZigBeeProperties(int32_t ID, int32_t Number, const QString& Name, int16_t DeviceType,
                                const QString& SerialNumber, const QString& NodeIdentifier,
                                int32_t PortID);
    int32_t GetZB2GConfig(int32_t PortID, int32_t& pPanID, int32_t& pChannels, int64_t& pKeyA,
                          int64_t& pKeyB);
    int32_t GetSerialNo(QString& pSerialNo);
    int32_t GetDeviceDetails(int32_t PortID, int32_t DeviceID, QString& pSerialNo,
                             QString& pBootVersion, QString& pFirmwareVersion);
    int32_t AddZigBee(int32_t& pID, int32_t& pNumber, const QString& Name, int16_t DeviceType,
                      const QString& SerialNumber, const QString& NodeIdentifier, int32_t PortID);
    int32_t DeleteZigBee(int32_t ID);

    // ---- Sensors ----
    int32_t GetSensorsCount(int32_t& pCount);
    int32_t GetSensorByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetSensorProperties(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pPortID,
                                int16_t& pType, int16_t& pAddress, int16_t& pSensorNo);
    int32_t SetSensorProperties(int32_t ID, int32_t Number, const QString& Name, int32_t PortID,
                                int16_t Type, int16_t Address, int16_t SensorNo);
    int32_t GetSensorPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pPortID,
                                  int16_t& pType, int16_t& pAddress, int16_t& pSensorNo,
                                  int32_t& pSlotZigBeeID, int32_t& pSensorSerialNo);
    int32_t SetSensorPropertiesEx(int32_t ID, int32_t Number, const QString& Name, int32_t PortID,
                                  int16_t Type, int16_t Address, int16_t SensorNo,
                                  int32_t SlotZigBeeID, int32_t SensorSerialNo);
    int32_t GetSensorStatus(int32_t ID, int16_t& pState);
    int32_t AddSensor(int32_t& pID, int32_t& pNumber, const QString& Name, int32_t PortID,
                      int16_t Type, int16_t Address, int16_t SensorNo, int32_t SlotZigBeeID,
                      int32_t SensorSerialNo);
    int32_t DeleteSensor(int32_t ID);

    // ---- Products ----
    int32_t GetProductsCount(int32_t Number, const QString& Name, const QString& ShortName,
                             const QString& Tag, const QString& Barcode, int32_t ProductGroup,
                             int32_t& pCount);
    int32_t GetProductByNumber(int32_t Number, int32_t& pID);
    int32_t GetProductByOrdinal(int32_t Number, const QString& Name, const QString& ShortName,
                                const QString& Tag, const QString& Barcode, int32_t ProductGroup,
                                int32_t Ordinal, int32_t& pID);
    int32_t GetProductProperties(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                 int16_t& pEnabled, QString& pShortName, QString& pBarcode,
                                 double& pPrice1, double& pPrice2, int32_t& pProductGroup);
    int32_t SetProductProperties(int32_t ID, int32_t Number, const QString& Name,
                                 const QString& Tag, int16_t Enabled, const QString& ShortName,
                                 const QString& Barcode, double Price1, double Price2,
                                 int32_t ProductGroup);
    int32_t GetProductPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                   int16_t& pEnabled, QString& pShortName, QString& pBarcode,
                                   int32_t& pQuickCode, double& pPrice1, double& pPrice2,
                                   double& pPrice3, double& pPrice4, int32_t& pProductGroup);
    int32_t SetProductPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                   const QString& Tag, int16_t Enabled, const QString& ShortName,
                                   const QString& Barcode, int32_t QuickCode, double Price1,
                                   double Price2, double Price3, double Price4,
                                   int32_t ProductGroup);
    int32_t GetProductPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                    int16_t& pEnabled, QString& pShortName, QString& pBarcode,
                                    int32_t& pQuickCode, double& pPrice1, double& pPrice2,
                                    double& pPrice3, double& pPrice4, int32_t& pProductGroup,
                                    QDateTime& pAddedDT, QDateTime& pUpdatedDT);
    int32_t DeleteProduct(int32_t ID);
    int32_t AddProduct(int32_t& pID, int32_t& pNumber, const QString& Name, const QString& Tag,
                       int16_t Enabled, const QString& ShortName, const QString& Barcode,
                       int32_t QuickCode, double Price1, double Price2, double Price3,
                       double Price4, int32_t ProductGroup);

    // ---- Sale items ----
    int32_t GetSaleItemsCount(int32_t& pCount);
    int32_t GetSaleItemByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t SaleItemClear(int32_t ID, int32_t ClearedBy);
    int32_t SaleItemLockAndClear(int32_t ID, int32_t ClearedBy);
    int32_t SaleItemAckDBLog(int32_t ID);
    int32_t SaleItemAckVolLog(int32_t ID);
    int32_t SaleItemGetSummary(int32_t ID, int32_t& pProductID, int32_t& pPumpID,
                               int32_t& pAttendantID, int32_t& pCardClientID, int16_t& pPriceLevel,
                               double& pPrice, double& pQuantity, QDateTime& pAddedDT,
                               QDateTime& pClearedDT, int32_t& pLockedBy, int32_t& pClearedBy,
                               int16_t& pLoggedState, QString& pPlate, int16_t& pAuthType);
    int32_t GetSaleItemProperties(int32_t ID, int32_t& pProductID, int32_t& pPumpID,
                                  int32_t& pAttendantID, int32_t& pCardClientID,
                                  int16_t& pPriceLevel, double& pPrice, double& pQuantity,
                                  QDateTime& pAddedDT, QDateTime& pClearedDT, int32_t& pLockedBy,
                                  int32_t& pClearedBy, int16_t& pLoggedState, QString& pPlate,
                                  int16_t& pAuthType);
    int32_t SetSaleItemProperties(int32_t ID, int32_t ProductID, int32_t PumpID,
                                  int32_t AttendantID, int32_t CardClientID, int16_t PriceLevel,
                                  double Price, double Quantity, const QDateTime& AddedDT,
                                  const QDateTime& ClearedDT, int32_t LockedBy, int32_t ClearedBy,
                                  int16_t LoggedState, const QString& Plate, int16_t AuthType);
    int32_t AddSaleItem(int32_t& pID, int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                        int32_t CardClientID, int16_t PriceLevel, double Price, double Quantity,
                        const QString& Plate, int16_t AuthType);
    int32_t DeleteSaleItem(int32_t ID);
    int32_t SaleItemLock(int32_t ID, int32_t LockedBy);
    int32_t SaleItemUnlock(int32_t ID, int32_t LockedBy);
    // A null AddedFrom or AddedTo leaves that end of the date range open.
    int32_t GetSaleItemsCountEx(int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                                int32_t CardClientID, int16_t State, const QDateTime& AddedFrom,
                                const QDateTime& AddedTo, int32_t& pCount);
    int32_t GetSaleItemByOrdinalEx(int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                                   int32_t CardClientID, int16_t State, const QDateTime& AddedFrom,
                                   const QDateTime& AddedTo, int32_t Ordinal, int32_t& pID);

    // ---- Log events ----
    int32_t GetLogEventCount(int32_t& pCount);
    int32_t GetLogEventByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetLogEventCountEx(int16_t DeviceType, int32_t DeviceID, int16_t EventType,
                               int32_t& pCount);
    int32_t GetLogEventByOrdinalEx(int16_t DeviceType, int32_t DeviceID, int16_t EventType,
                                   int32_t Ordinal, int32_t& pID);
    int32_t GetLogEventProperties(int32_t ID, int16_t& pDeviceType, int32_t& pDeviceID,
                                  int16_t& pEventLevel, int16_t& pEventType, QString& pEventDesc,
                                  QDateTime& pGeneratedDT, QDateTime& pClearedDT,
                                  int32_t& pClearedBy, int32_t& pAckedBy, double& pVolume,
                                  double& pValue, double& pProductVolume, double& pProductLevel,
                                  double& pWaterLevel, double& pTemperature);
    int32_t DeleteLogEvent(int32_t ID);
    int32_t ClearLogEvent(int32_t ID, int32_t ClearedBy);
    int32_t AckLogEvent(int32_t ID, int32_t AckedBy);
    int32_t SetLogEventProperties(int32_t ID, int16_t DeviceType, int32_t DeviceID,
                                  int16_t EventLevel, int16_t EventType, const QString& EventDesc,
                                  const QDateTime& GeneratedDT, const QDateTime& ClearedDT,
                                  int32_t ClearedBy, int32_t AckedBy, double Volume, double Value,
                                  double ProductVolume, double ProductLevel, double WaterLevel,
                                  double Temperature);

    // ---- Controller ----
    int32_t GetDateTime(QDateTime& pDateTime);
    int32_t SetDateTime(const QDateTime& DateTime);
    int32_t GetIniValue(const QString& Section, const QString& Key, QString& pValue);
    int32_t SetIniValue(const QString& Section, const QString& Key, const QString& Value);
    int32_t GetIniValueEx(const QString& FileName, const QString& Section, const QString& Key,
                          QString& pValue);
    int32_t SetIniValueEx(const QString& FileName, const QString& Section, const QString& Key,
                          const QString& Value);
    int32_t GetTCPIPConfig(QString& pIPAddress, QString& pNetMask, QString& pGateway,
                           QString& pDNSServer, int16_t& pDHCP, QString& pNetworkName);
    int32_t SetTCPIPConfig(const QString& IPAddress, const QString& NetMask, const QString& Gateway,
                           const QString& DNSServer, int16_t DHCP, const QString& NetworkName);
    int32_t WDReset();
    // The pumps' three strings of GetAllPumpStatuses, then one character per tank and sensor.
    int32_t GetAllStatuses(QString& pPumpStates, QString& pCurrentHoses, QString& pDeliveriesCount,
                           QString& pTankStates, QString& pSensorStates);
    // One element of a price sign, by sign and element number, stored by the server.
    int32_t GetPriceSignElement(int32_t SignNumber, int32_t ElementNumber, int16_t& pElementType,
                                int32_t& pGradeID, int16_t& pPriceLevel, int16_t& pPriceDspFormat,
                                int16_t& pEnabled);
    int32_t SetPriceSignElement(int32_t SignNumber, int32_t ElementNumber, int16_t ElementType,
                                int32_t GradeID, int16_t PriceLevel, int16_t PriceDspFormat,
                                int16_t Enabled);
    // What the server answered this logon's previous call.
    int32_t GetLastAPIResult(int32_t& pResult);

    // ---- Adding records, older variants, hose totals, periods, strapping tables ----
    int32_t AddPump(int32_t& pID, int32_t& pNumber, const QString& Name, int16_t PhysicalNumber,
                    int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                    int16_t PriceDspFormat, int16_t VolumeDspFormat, int16_t ValueDspFormat,
                    int16_t Type, int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                    int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                    int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                    int16_t HasPreset);
    int32_t GetPumpDeliveryProperties(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                      int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                      double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                      double& pValue, double& pVolume2, QDateTime& pCompletedDT,
                                      int32_t& pLockedBy, int32_t& pReservedBy,
                                      int32_t& pAttendantID);
    int32_t GetPumpDeliveryPropertiesEx(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                        int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                        double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                        double& pValue, double& pVolume2, QDateTime& pCompletedDT,
                                        int32_t& pLockedBy, int32_t& pReservedBy,
                                        int32_t& pAttendantID, QDateTime& pClearedDT,
                                        int32_t& pDuration);
    int32_t GetPumpDeliveryPropertiesEx3(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                         int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                         double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                         double& pValue, double& pVolume2, QDateTime& pCompletedDT,
                                         int32_t& pLockedBy, int32_t& pReservedBy,
                                         int32_t& pAttendantID, QDateTime& pClearedDT,
                                         int32_t& pDuration, int32_t& pCardClientID, int64_t& pTag,
                                         int32_t& pGradeID, int32_t& pTankID);
    int32_t GetDensity(int32_t PumpID, int32_t HoseID, double& pDensity);
    int32_t GetHoseProperties(int32_t ID, int32_t& pNumber, int32_t& pPumpID, int32_t& pTankID,
                              int32_t& pPhysicalNumber, double& pMtrTheoValue,
                              double& pMtrTheoVolume, double& pMtrElecValue,
                              double& pMtrElecVolume);
    int32_t SetHoseProperties(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                              int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                              double MtrElecValue, double MtrElecVolume);
    int32_t AddHose(int32_t& pID, int32_t& pNumber, int32_t PumpID, int32_t TankID,
                    int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                    double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna, double Price1,
                    double Price2, double Price3, double Price4, int16_t Enabled);
    int32_t SetHoseETotals(int32_t HoseID, double VolumeETot, double ValueETot);
    int32_t GetPeriod(int16_t PeriodType, int32_t Index, int32_t& pPeriodID, QDateTime& pStartDT,
                      QDateTime& pEndDT, double& pVolume, double& pValue, int32_t& pDeliveries);
    int32_t ClosePeriod(int16_t PeriodType, int32_t& pPeriodID);
    int32_t GetAllDeliveriesCount(int32_t& pCount);
    int32_t GetAllDeliveryByOrdinal(int32_t Ordinal, int32_t& pID);
    int32_t GetDeliverySummary(int32_t ID, int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pHoseID,
                               int32_t& pHoseNumber, int32_t& pGradeID, QString& pGradeName,
                               QString& pShortGradeName, int16_t& pPriceLevel, double& pPrice,
                               double& pVolume, double& pValue, int16_t& pDeliveryState,
                               int16_t& pDeliveryType, int32_t& pLockedBy, int32_t& pReservedBy,
                               int32_t& pAge, QDateTime& pCompletedDT, int32_t& pAttendantID);
    int32_t GetDuration(int32_t ID, int32_t& pDuration);
    int32_t SetDeliveryProperties(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                  int16_t Type, double Volume, int16_t PriceLevel, double Price,
                                  double Value, double Volume2, const QDateTime& CompletedDT,
                                  int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID);
    int32_t AddGrade(int32_t& pID, int32_t& pNumber, const QString& Name, const QString& ShortName,
                     const QString& Code, int16_t Type);
    int32_t SetTankProperties(int32_t ID, int32_t Number, const QString& Name, int32_t GradeID,
                              int16_t Type, double Capacity, double Diameter, double TheoVolume,
                              double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                              double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                              double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo);
    int32_t AddTank(int32_t& pID, int32_t& pNumber, const QString& Name, int32_t GradeID,
                    int16_t Type, double Capacity, double Diameter, double TheoVolume,
                    double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                    double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                    double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo,
                    int32_t GaugeAlarmsMask, int32_t SlotZigBeeID, int16_t ProbeType,
                    int32_t ProbeSerialNo);
    int32_t DeleteTank(int32_t ID);
    int32_t ReadAllTanks();
    int32_t GetStrappingTableData(int32_t TankID, double& pStepSize, double& pDiameter,
                                  double& pOffset, double& pCapacity, int32_t& pAlarms,
                                  QString& pDesc);
    int32_t SetStrappingTableData(int32_t TankID, double StepSize, double Diameter, double Offset,
                                  double Capacity, int32_t Alarms, const QString& Desc);
    int32_t GetStrappingTableElement(int32_t TankID, int32_t Index, int32_t& pPasses,
                                     double& pHeight, double& pStartDelta, double& pCurDelta,
                                     double& pStartVolume, double& pCurVolume);
    int32_t SetStrappingTableElement(int32_t TankID, int32_t Index, int32_t Passes, double Height,
                                     double StartDelta, double CurDelta, double StartVolume,
                                     double CurVolume);

    // Hands a delivery (the DeliveryEventEx3 list) to the registered control of its pump: 0
    // when one took it, 2 when no registered control shows that pump.
    int32_t FireDeliveryEvent(
        int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber, int32_t HosePhysicalNumber,
        int32_t PumpID, int32_t PumpNumber, const QString& PumpName, int32_t TankID,
        int32_t TankNumber, const QString& TankName, int32_t GradeID, int32_t GradeNumber,
        const QString& GradeName, const QString& GradeShortName, const QString& GradeCode,
        int16_t DeliveryState, int16_t DeliveryType, double Volume, int16_t PriceLevel,
        double Price, double Value, double Volume2, const QDateTime& CompletedDT, int32_t LockedBy,
        int32_t ReservedBy, int32_t AttendantID, int32_t Age, const QDateTime& ClearedDT,
        double OldVolumeETot, double OldVolume2ETot, double OldValueETot, double NewVolumeETot,
        double NewVolume2ETot, double NewValueETot, int64_t Tag, int32_t Duration,
        int32_t AttendantNumber, const QString& AttendantName, int64_t AttendantTag,
        int32_t CardClientID, int32_t CardClientNumber, const QString& CardClientName,
        int64_t CardClientTag);

  signals:
    // The server's events, raised by CheckEvents on the UI thread. A pump or tank status whose
    // pump or tank has a registered control goes to that control instead and raises none.
    void PumpStatusEvent(int32_t PumpID, int16_t PumpNumber, int16_t State, int16_t ReservedFor,
                         int32_t ReservedBy, int32_t HoseID, int16_t HoseNumber, int32_t GradeID,
                         const QString& GradeName, const QString& ShortGradeName,
                         int16_t PriceLevel, double Price, double Volume, double Value,
                         int16_t StackSize);
    void PumpStatusEventEx(int32_t PumpID, int16_t PumpNumber, int16_t State, int16_t ReservedFor,
                           int32_t ReservedBy, int32_t HoseID, int16_t HoseNumber, int32_t GradeID,
                           const QString& GradeName, const QString& ShortGradeName,
                           int16_t PriceLevel, double Price, double Volume, double Value,
                           int16_t StackSize, const QString& PumpName, int16_t PhysicalNumber,
                           int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                           int16_t Type, int32_t PortID, int16_t AuthMode, int16_t StackMode,
                           int16_t PrepayAllowed, int16_t PreauthAllowed, int16_t PriceFormat,
                           int16_t ValueFormat, int16_t VolumeFormat);
    void PumpStatusEventEx2(int32_t PumpID, int32_t PumpNumber, int16_t State, int16_t ReservedFor,
                            int32_t ReservedBy, int32_t HoseID, int32_t HoseNumber,
                            int32_t HosePhysicalNumber, int32_t GradeID, int32_t GradeNumber,
                            const QString& GradeName, const QString& ShortGradeName,
                            int16_t PriceLevel, double Price, double Volume, double Value,
                            int16_t StackSize, const QString& PumpName, int16_t PhysicalNumber,
                            int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                            int16_t Type, int32_t PortID, int16_t AuthMode, int16_t StackMode,
                            int16_t PrepayAllowed, int16_t PreauthAllowed, int16_t PriceFormat,
                            int16_t ValueFormat, int16_t VolumeFormat, int64_t Tag,
                            int32_t AttendantID, int32_t AttendantNumber,
                            const QString& AttendantName, int64_t AttendantTag,
                            int32_t CardClientID, int32_t CardClientNumber,
                            const QString& CardClientName, int64_t CardClientTag);
    void PumpStatusEventEx3(
        int32_t PumpID, int32_t PumpNumber, int16_t State, int16_t ReservedFor, int32_t ReservedBy,
        int32_t HoseID, int32_t HoseNumber, int32_t HosePhysicalNumber, int32_t GradeID,
        int32_t GradeNumber, const QString& GradeName, const QString& ShortGradeName,
        int16_t PriceLevel, double Price, double Volume, double Value, int16_t StackSize,
        const QString& PumpName, int16_t PhysicalNumber, int16_t Side, int16_t Address,
        int16_t PriceLevel1, int16_t PriceLevel2, int16_t Type, int32_t PortID, int16_t AuthMode,
        int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed, int16_t PriceFormat,
        int16_t ValueFormat, int16_t VolumeFormat, int64_t Tag, int32_t AttendantID,
        int32_t AttendantNumber, const QString& AttendantName, int64_t AttendantTag,
        int32_t CardClientID, int32_t CardClientNumber, const QString& CardClientName,
        int64_t CardClientTag, double CurFlowRate, double PeakFlowRate);
    void DeliveryEvent(int32_t DeliveryID, int32_t PumpID, int16_t PumpNumber, int32_t HoseID,
                       int16_t HoseNumber, int32_t GradeID, const QString& GradeName,
                       const QString& ShortGradeName, int16_t PriceLevel, double Price,
                       double Volume, double Value, int16_t DeliveryState, int16_t DeliveryType,
                       int32_t LockedBy, int32_t ReservedBy, int32_t Age,
                       const QDateTime& CompletedDT, int32_t AttendantID);
    void DeliveryEventEx(int32_t DeliveryID, int32_t PumpID, int16_t PumpNumber, int32_t HoseID,
                         int16_t HoseNumber, int32_t GradeID, const QString& GradeName,
                         const QString& ShortGradeName, int16_t PriceLevel, double Price,
                         double Volume, double Value, int16_t DeliveryState, int16_t DeliveryType,
                         int32_t LockedBy, int32_t ReservedBy, int32_t Age,
                         const QDateTime& CompletedDT, int32_t AttendantID, double VolumeETot,
                         double Volume2Etot, double ValueETot, int64_t Tag);
    void DeliveryEventEx2(int32_t DeliveryID, int32_t PumpID, int16_t PumpNumber, int32_t HoseID,
                          int16_t HoseNumber, int32_t GradeID, const QString& GradeName,
                          const QString& ShortGradeName, int16_t PriceLevel, double Price,
                          double Volume, double Value, int16_t DeliveryState, int16_t DeliveryType,
                          int32_t LockedBy, int32_t ReservedBy, int32_t Age,
                          const QDateTime& CompletedDT, int32_t AttendantID, double OldVolumeETot,
                          double OldVolume2ETot, double OldValueETot, double NewVolumeETot,
                          double NewVolume2ETot, double NewValueETot, int64_t Tag,
                          int32_t Duration);
    void DeliveryEventEx3(int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber,
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
    // Declared, not raised.
    void DeliveryEventEx4(
        int32_t DeliveryID, int32_t HoseID, int32_t HoseNumber, int32_t HosePhysicalNumber,
        int32_t PumpID, int32_t PumpNumber, const QString& PumpName, int32_t TankID,
        int32_t TankNumber, const QString& TankName, int32_t GradeID, int32_t GradeNumber,
        const QString& GradeName, const QString& GradeShortName, const QString& GradeCode,
        int16_t DeliveryState, int16_t DeliveryType, double Volume, int16_t PriceLevel,
        double Price, double Value, double Volume2, const QDateTime& CompletedDT, int32_t LockedBy,
        int32_t ReservedBy, int32_t AttendantID, int32_t Age, const QDateTime& ClearedDT,
        double OldVolumeETot, double OldVolume2ETot, double OldValueETot, double NewVolumeETot,
        double NewVolume2ETot, double NewValueETot, int64_t Tag, int32_t Duration,
        int32_t AttendantNumber, const QString& AttendantName, int64_t AttendantTag,
        int32_t CardClientID, int32_t CardClientNumber, const QString& CardClientName,
        int64_t CardClientTag, double PeakFlowRate);
    void ClientEvent(int32_t ClientID, int32_t EventID, const QString& EventText);
    void ServerEvent(int32_t EventID, const QString& EventText);
    void DBLogEvent(int16_t EventType, int32_t DeviceID, const QDateTime& EventDT,
                    const QString& EventText);
    void DBLogDeliveryEvent(int32_t DeliveryID, int32_t HoseID, int16_t DeliveryState,
                            int16_t DeliveryType, double Volume, int16_t PriceLevel, double Price,
                            double Value, double Volume2, int32_t ReservedBy, int32_t AttendantID,
                            const QDateTime& DeliveryDT);
    void DBClearDeliveryEvent(int32_t DeliveryID, int16_t DeliveryType, int32_t ClearedBY,
                              const QDateTime& ClearedDT, int32_t AttendantID);
    void DBStackDeliveryEvent(int32_t DeliveryID);
    void DBLogETotalsEvent(int32_t HoseID, double Volume, double Value, double VolumeETot,
                           double ValueETot);
    void DBLogETotalsEventEx(int32_t HoseID, double Volume, double Value, double VolumeETot,
                             double ValueETot, int32_t HoseNumber, int32_t HosePhysicalNumber,
                             int32_t PumpID, int32_t PumpNumber, const QString& PumpName,
                             int32_t TankID, int32_t TankNumber, const QString& TankName,
                             int32_t GradeID, const QString& GradeName);
    void DBTriggerEvent(int32_t TableID, int32_t RowID);
    void ServerConnectionBroken();
    void ServerReconnected();
    void DBAttendantLogonEvent(int32_t ID, int32_t PumpID);
    void DBAttendantLogoffEvent(int32_t ID);
    void CurrentPumpEvent(int32_t NewCurrentPump);
    void DBTankStatusEvent(int32_t TankID, double GaugeVolume, double GaugeTCVolume,
                           double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                           double GaugeWaterVolume, double GaugeWaterLevel);
    void DBTankStatusEventEx(int32_t TankID, double GaugeVolume, double GaugeTCVolume,
                             double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                             double GaugeWaterVolume, double GaugeWaterLevel, int32_t TankNumber,
                             const QString& TankName, int32_t GradeID, const QString& GradeName,
                             int16_t Type, double Capacity, double Diameter, int32_t GaugeID,
                             int16_t ProbeNo);
    void DBTankStatusEventEx2(int32_t TankID, double GaugeVolume, double GaugeTCVolume,
                              double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                              double GaugeWaterVolume, double GaugeWaterLevel, int32_t TankNumber,
                              const QString& TankName, int32_t GradeID, const QString& GradeName,
                              int16_t Type, double Capacity, double Diameter, int32_t GaugeID,
                              int16_t ProbeNo, int16_t State, int32_t AlarmsMask);
    // Declared, not raised: SerialPortEvent, ZBEvent, UVEEvent, ZBStatusEvent.
    void SerialPortEvent(int32_t PortID, int32_t ZBID, int16_t Slot, int32_t Result,
                         const QString& RxMsg);
    void ZBEvent(int32_t PortID, int32_t ZBID, int64_t ZBAddress, int32_t Result, int16_t MsgType,
                 const QString& RxMsg);
    void UVEEvent(int32_t PumpID, int32_t PumpNumber, int32_t HoseID, int32_t HoseNumber,
                  int64_t UVE);
    void ZBStatusEvent(int32_t PortID, int32_t ZBID, int64_t ZBAddress, int16_t Condition,
                       int32_t Count, int16_t Strength);
    void ZB2GStatusEvent(int32_t PortID, int64_t ZBAddress, int16_t LQI, int16_t RSSI,
                         int64_t ParZBAddress, int16_t ZBChannel, int32_t MemBlocks,
                         int32_t MemFree, int16_t DeviceType);
    void PanIDEvent(int32_t PortID, int32_t PanID);
    void ZeroDeliveryEvent(int32_t PumpID, int32_t PumpNumber, int32_t HoseID, int32_t HoseNumber);
    void CardReadEvent(int32_t CardReadID, int32_t Number, const QString& Name, int32_t PumpID,
                       int16_t Type, int32_t ParentID, int64_t Tag, const QDateTime& TimeStamp);
    void LogEventEvent(int32_t LogEventID, int16_t DeviceType, int32_t DeviceID,
                       int32_t DeviceNumber, const QString& DeviceName, int16_t EventLevel,
                       int16_t EventType, const QString& EventDesc, const QDateTime& GeneratedDT,
                       const QDateTime& ClearedDT, int32_t ClearedBy, int32_t AckedBy,
                       double Volume, double Value, double ProductVolume, double ProductLevel,
                       double WaterLevel, double Temperature);
    void SaleItemEvent(int32_t SaleItemID, int32_t ProductID, int32_t ProductNumber,
                       const QString& ProductName, const QString& ProductTag, int32_t ProductGroup,
                       const QString& ProductGroupName, const QString& Barcode, int32_t PumpID,
                       int32_t PumpNumber, const QString& PumpName, int32_t AttendantID,
                       int32_t pAttendantNumber, const QString& AttendantName, int64_t AttendantTag,
                       int32_t CardClientID, int32_t CardClientNumber,
                       const QString& CardClientName, int64_t CardClientTag, int16_t PriceLevel,
                       double Price, double Quantity, const QDateTime& AddedDT,
                       const QDateTime& ClearedDT, int32_t LockedBy, int32_t ClearedBy,
                       int16_t LoggedDB, int16_t LoggedVolumetric, const QString& Plate,
                       const QString& DriverID, const QString& ExtTransactionID,
                       const QString& AuthID, int16_t AuthType);
    void QVOdoEvent(int32_t PortID, int64_t ZBAddress, int16_t LQI, int16_t RSSI,
                    int64_t ParZBAddress, int16_t ZBChannel, int32_t MemBlocks, int32_t MemFree,
                    int16_t DeviceType, int32_t ClientID, const QString& ClientName,
                    int64_t ClientTag, double Odo1, int32_t Factor1, int16_t Level1, double Odo2,
                    int32_t Factor2, int16_t Level2, int64_t Tag1, int64_t Tag2, int64_t Tag3,
                    int64_t Tag4, int32_t FuelTypes, const QString& Plate);
    void QVTermPromptEvent(int32_t PumpID, int32_t PromptID, int16_t PromptResult,
                           const QString& Input);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Calls the library function f with the managed arguments converted; see the .cpp.
    template <class... Lib, class... Managed>
    int32_t Forward(int32_t (*f)(Lib...), Managed&... args);
    void ResetLogonDefaults();
    void LoggedOnNow();
    // The re-logon timer's tick: starts a logon with the remembered parameters on a thread of
    // its own (ReLogonAttempt), so that a hung server does not stall the UI thread.
    void OnReLogonTimer();
    // The re-logon's result, on the UI thread: logged on, the event poll runs, the event type is
    // applied again, every registered control reloads and ServerReconnected is raised; else the
    // timer starts again.
    void OnReLogonResult(int32_t res);
    // Reloads every registered pump and tank control from the server, as a first binding does.
    void ReloadControls();
    // Stops a re-logon under way; true when its logon call is still running (see
    // ReLogonAttempt::Abandon).
    bool AbandonReLogon();
    QVPump* RegisteredPump(int32_t pumpID) const;
    QVTank* RegisteredTank(int32_t tankID) const;
    // The readers of CheckEvents, one per kind; each reads the oldest event and raises it.
    int32_t ReadPumpStatus();
    int32_t ReadDelivery();
    int32_t ReadClientEvent();
    int32_t ReadDBLogEvent();
    int32_t ReadDBLogDelivery();
    int32_t ReadDBClearDelivery();
    int32_t ReadDBStackDelivery();
    int32_t ReadHoseETotals();
    int32_t ReadAttendantLogon();
    int32_t ReadAttendantLogoff();
    int32_t ReadZeroDelivery();
    int32_t ReadTankStatus();
    int32_t ReadCardRead();
    int32_t ReadLogEvent();
    int32_t ReadServerEvent();
    int32_t ReadDBTrigger();
    int32_t ReadZBPanID();
    int32_t ReadZB2GStatus();
    int32_t ReadQVTermPrompt();
    int32_t ReadQVOdo();
    int32_t ReadSaleItem();

    QImage _logoBMP;
    QList<QPointer<QVPump>> _QVPumpsList;
    QList<QPointer<QVTank>> _QVTanksList;
    bool _loggedOn = false;
    int32_t _currentPumpID = 0;
    // Logon parameters remembered for the automatic re-logon.
    int32_t _clientID = -1;
    int16_t _clientType = 0;
    QString _serverName;
    QString _clientName;
    int16_t _clientCategory = 0;
    QString _hashKey;
    int16_t _callsPort = kDefaultCallsPort;
    int16_t _eventsPort = kDefaultEventsPort;
    int32_t _callTimeout = kDefaultCallTimeout;
    int32_t _clientEventType = kDefaultEventType;
    intptr_t _window = 0; // registered with the window-message service, 0 when that failed
    QTimer _nTimer;       // re-logon
    QTimer _eventTimer;   // event poll
    std::shared_ptr<ReLogonAttempt> _reLogon; // the re-logon under way, null when none
    static int _reLogonTimeout;
    static int _eventTimeout;
};

} // namespace Halvora
