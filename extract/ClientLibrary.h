// ClientLibrary: the tool's binding of the forecourt client library QVClient, loaded at run time
// from a fixed path and bound by a table of names. Each wrapper refuses a call with 8 when the
// library is not loaded or not logged on, and with 65 when the function is missing; versioned
// operations fall back to the older variants that the library offers.
#pragma once
#include <array>
#include <cstdint>

#include "common/CLog.h"
#include "common/CStr.h"
#include "platform/DynLib.h"

class ClientLibrary {
  public:
    static constexpr int kBoundCount = 201;           // names looked up by Load, in binding order
    static constexpr int32_t kNotLoaded = 8;          // library not loaded or not logged on
    static constexpr int32_t kMissing = 65;           // function not in the library
    static constexpr int32_t kConnectionBroken = -14; // the library lost the server

    // Nothing loaded, all slots empty, not logged on.
    explicit ClientLibrary(CLog& log);
    ~ClientLibrary(); // unloads the library if loaded
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;

    // Loads the library from the flavour's fixed path and looks up every bound name; false when
    // the library cannot be loaded (all slots stay empty). Missing functions are only logged.
    bool Load();
    bool IsLoaded() const { return m_module != nullptr; }
    // The fixed path Load tries, as the program names it ("C:\QVForecourt\QVClient.DLL").
    static const char16_t* LibraryPath();
    // True once a call of the current logon gave -14: the connection to the server is gone, and
    // every later logon-bound call is refused with -14 without reaching the library (a logon
    // clears it). Logoff still reaches the library so it can release the session.
    bool ConnectionBroken() const { return m_broken; }
    int32_t LogonHandle() const { return m_logonHandle; }
    // Whether the bound name (without the MT ending) was found by Load.
    bool IsBound(const char* name) const;

    // True for result 0. Otherwise logs "text - result.", prints and logs the result's text
    // (empty when it cannot be obtained) and returns false.
    bool ReportResult(const char* text, int32_t result);

    // Logon and general.
    // InternalClientLogon when bound; else ClientLogonEx followed by two SetClientType calls.
    // 65 when the library is not loaded or neither logon function is bound.
    int32_t Logon(int32_t clientID, int32_t clientType, const CStr& clientName,
                  int32_t clientCategory, const CStr& hashKey, int32_t eventMask,
                  const CStr& serverName, int32_t callPortNo, int32_t eventsPortNo,
                  int32_t callTimeout, int32_t param1, int32_t notifyWindow, int32_t param3);
    int32_t Logoff(); // clears the logon handle
    int32_t SetClientType(int32_t key);
    int32_t DllVersion(CStr& text); // no logon needed; 65 when not loaded or missing
    int32_t ServerVersion(CStr& text);
    // No logon needed; 65 (text unchanged) when not loaded or missing, else 0.
    int32_t ResultString(int32_t result, CStr& text);

    // Export side.
    int32_t GetPortsCount(int32_t& count);
    int32_t GetPortByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetPortProperties(int32_t id, int32_t& number, CStr& name, int16_t& protocolID,
                              int16_t& deviceType, CStr& serialNo);
    int32_t GetZB2GConfig(int32_t portID, int32_t& panID, int32_t& channels, int64_t& keyA,
                          int64_t& keyB);
    // deviceID -1 asks for the port device itself.
    int32_t GetDeviceDetails(int32_t portID, int32_t deviceID, CStr& serialNo, CStr& bootVersion,
                             CStr& firmwareVersion);
    int32_t GetZigBeeCount(int32_t& count);
    int32_t GetZigBeeByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetZigBeeProperties(int32_t id, int32_t& number, CStr& name, int16_t& deviceType,
                                CStr& serialNumber, CStr& nodeIdentifier, int32_t& portID);
    int32_t GetGradesCount(int32_t& count);
    int32_t GetGradeByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetGradeProperties(int32_t id, int32_t& number, CStr& name, CStr& shortName, CStr& code,
                               int16_t& type);
    int32_t GetGradePrice(int32_t id, int16_t level, double& price); // level 1 to 8
    int32_t GetTanksCount(int32_t& count);
    int32_t GetTankByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetTankProperties(int32_t id, int32_t& number, CStr& name, int32_t& gradeID,
                              int16_t& type, double& capacity, double& diameter, double& theoVolume,
                              double& gaugeVolume, double& gaugeTCVolume, double& gaugeUllage,
                              double& gaugeTemperature, double& gaugeLevel,
                              double& gaugeWaterVolume, double& gaugeWaterLevel, int32_t& gaugeID,
                              int16_t& probeNo, int32_t& gaugeAlarmsMask, int32_t& slotZigBeeID,
                              int16_t& probeType, int32_t& probeSerialNo);
    int32_t GetPumpsCount(int32_t& count);
    int32_t GetPumpByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetPumpProperties(int32_t id, int32_t& number, CStr& name, int16_t& physicalNumber,
                              int16_t& side, int16_t& address, int16_t& priceLevel1,
                              int16_t& priceLevel2, int16_t& priceDspFormat,
                              int16_t& volumeDspFormat, int16_t& valueDspFormat, int16_t& type,
                              int32_t& portID, int32_t& attendantID, int16_t& authMode,
                              int16_t& stackMode, int16_t& prepayAllowed, int16_t& preauthAllowed,
                              int32_t& slotZigBeeID, int32_t& muxSlotZigBeeID,
                              int16_t& priceControl, int16_t& hasPreset);
    int32_t GetPumpHosesCount(int32_t pumpID, int32_t& count);
    int32_t GetPumpHoseByNumber(int32_t pumpID, int32_t hoseNumber, int32_t& hoseID);
    int32_t GetHoseProperties(int32_t id, int32_t& number, int32_t& pumpID, int32_t& tankID,
                              int32_t& physicalNumber, double& mtrTheoValue, double& mtrTheoVolume,
                              double& mtrElecValue, double& mtrElecVolume, int16_t& uveAntenna,
                              double& price1, double& price2, double& price3, double& price4,
                              int16_t& enabled);
    int32_t GetSensorsCount(int32_t& count);
    int32_t GetSensorByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetSensorProperties(int32_t id, int32_t& number, CStr& name, int32_t& portID,
                                int16_t& type, int16_t& address, int16_t& sensorNo,
                                int32_t& slotZigBeeID, int32_t& sensorSerialNo);
    // Products are counted and listed through a filter; Number -1, empty texts and
    // ProductGroup -1 select all products.
    int32_t GetProductsCount(int32_t number, const CStr& name, const CStr& shortName,
                             const CStr& tag, const CStr& barcode, int32_t productGroup,
                             int32_t& count);
    int32_t GetProductByOrdinal(int32_t ordinal, int32_t number, const CStr& name,
                                const CStr& shortName, const CStr& tag, const CStr& barcode,
                                int32_t productGroup, int32_t& id);
    // addedDT and updatedDT: when the product was created and last set (0 from older libraries).
    int32_t GetProductProperties(int32_t id, int32_t& number, CStr& name, CStr& tag,
                                 int16_t& enabled, CStr& shortName, CStr& barcode,
                                 int32_t& quickCode, double& price1, double& price2, double& price3,
                                 double& price4, int32_t& productGroup, double& addedDT,
                                 double& updatedDT);
    int32_t GetAttendantsCount(int32_t& count);
    int32_t GetAttendantByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetAttendantProperties(int32_t id, int32_t& number, CStr& name, CStr& shortName,
                                   CStr& password, CStr& tag, CStr& idNumber, int16_t& shiftAStart,
                                   int16_t& shiftAEnd, int16_t& shiftBStart, int16_t& shiftBEnd,
                                   int16_t& type);
    int32_t GetCardClientsCount(int32_t& count);
    int32_t GetCardClientByOrdinal(int32_t ordinal, int32_t& id);
    int32_t GetCardClientProperties(int32_t id, int32_t& number, CStr& name, CStr& tag,
                                    int16_t& enabled, int16_t& priceLevel, CStr& plate,
                                    CStr& idNumber, CStr& shortName, CStr& password,
                                    int16_t& gradeType, int16_t& cardType, int16_t& limitType,
                                    double& limit, int16_t& entryType, double& expirationDate,
                                    int32_t& parentID, CStr& qvOdoSerialNo, double& odometer,
                                    int32_t& factor);
    int32_t GetTCPIPConfig(CStr& ipAddress, CStr& netMask, CStr& gateway, CStr& dnsServer,
                           int16_t& dhcp, CStr& networkName);

    // Import side.
    int32_t SetPortProperties(int32_t id, int32_t number, const CStr& name, int16_t protocolID,
                              int16_t deviceType, const CStr& serialNo);
    int32_t SetGradeProperties(int32_t id, int32_t number, const CStr& name, const CStr& shortName,
                               const CStr& code, int16_t type);
    int32_t SetGradePrice(int32_t id, int16_t level, double price);
    int32_t SetZigBeeProperties(int32_t id, int32_t number, const CStr& name, int16_t deviceType,
                                const CStr& serialNumber, const CStr& nodeIdentifier,
                                int32_t portID);
    int32_t SetTankProperties(int32_t id, int32_t number, const CStr& name, int32_t gradeID,
                              int16_t type, double capacity, double diameter, double theoVolume,
                              double gaugeVolume, double gaugeTCVolume, double gaugeUllage,
                              double gaugeTemperature, double gaugeLevel, double gaugeWaterVolume,
                              double gaugeWaterLevel, int32_t gaugeID, int16_t probeNo,
                              int32_t gaugeAlarmsMask, int32_t slotZigBeeID, int16_t probeType,
                              int32_t probeSerialNo);
    int32_t SetPumpProperties(int32_t id, int32_t number, const CStr& name, int16_t physicalNumber,
                              int16_t side, int16_t address, int16_t priceLevel1,
                              int16_t priceLevel2, int16_t priceDspFormat, int16_t volumeDspFormat,
                              int16_t valueDspFormat, int16_t type, int32_t portID,
                              int32_t attendantID, int16_t authMode, int16_t stackMode,
                              int16_t prepayAllowed, int16_t preauthAllowed, int32_t slotZigBeeID,
                              int32_t muxSlotZigBeeID, int16_t priceControl, int16_t hasPreset);
    int32_t SetHoseProperties(int32_t id, int32_t number, int32_t pumpID, int32_t tankID,
                              int32_t physicalNumber, double mtrTheoValue, double mtrTheoVolume,
                              double mtrElecValue, double mtrElecVolume, int16_t uveAntenna,
                              double price1, double price2, double price3, double price4,
                              int16_t enabled);
    int32_t SetSensorProperties(int32_t id, int32_t number, const CStr& name, int32_t portID,
                                int16_t type, int16_t address, int16_t sensorNo,
                                int32_t slotZigBeeID, int32_t sensorSerialNo);
    int32_t SetAttendantProperties(int32_t id, int32_t number, const CStr& name,
                                   const CStr& shortName, const CStr& password, const CStr& tag,
                                   const CStr& idNumber, int16_t shiftAStart, int16_t shiftAEnd,
                                   int16_t shiftBStart, int16_t shiftBEnd, int16_t type);
    // 65 when the plain variant is missing, even if the newer one is bound.
    int32_t SetProductProperties(int32_t id, int32_t number, const CStr& name, const CStr& tag,
                                 int16_t enabled, const CStr& shortName, const CStr& barcode,
                                 int32_t quickCode, double price1, double price2, double price3,
                                 double price4, int32_t productGroup);
    int32_t SetCardClientProperties(int32_t id, int32_t number, const CStr& name, const CStr& tag,
                                    int16_t enabled, int16_t priceLevel, const CStr& plate,
                                    const CStr& idNumber, const CStr& shortName,
                                    const CStr& password, int16_t gradeType, int16_t cardType,
                                    int16_t limitType, double limit, int16_t entryType,
                                    double expirationDate, int32_t parentID,
                                    const CStr& qvOdoSerialNo, double odometer, int32_t factor);

  private:
    template <int Index> auto Fn() const; // the slot of one bound name, typed as its prototype
    // The wrapper rule: 8 when not loaded or logged off, -14 once the connection broke, 65 when
    // the slot is empty, else the call with the logon handle first; text arguments are passed as
    // BSTRs.
    template <int Index, typename... Args> int32_t Call(Args&&... args);
    bool Ready() const { return m_module != nullptr && m_logonHandle != 0; }

    CLog& m_log;
    platform::LibHandle m_module = nullptr;   // the loaded library; null until Load succeeds
    std::array<void*, kBoundCount> m_slots{}; // addresses in binding order; null when missing
    int32_t m_logonHandle = 0; // the library's handle of the current logon; 0 when logged off
    bool m_broken = false;     // a call of the current logon gave -14
};
