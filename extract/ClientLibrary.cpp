#include "extract/ClientLibrary.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>

#include "outside/qvclient/QVClient.h"
#include "platform/OleAuto.h"

namespace {

constexpr bool kBoardBuild = QV_BOARD_BUILD;

constexpr char16_t kDesktopPath[] = u"C:\\QVForecourt\\QVClient.DLL";
constexpr char16_t kBoardPath[] = u"\\DAVozuz\\QVForecourt\\QVClient.DLL";
constexpr const char16_t* kLibraryPath = kBoardBuild ? kBoardPath : kDesktopPath;

// Keys that the older logon declares after connecting: first the tool's client type, then the
// event mask that the full logon would have passed.
constexpr int32_t kLegacyClientTypeKey = 0x3B7D16E5;

// Every name the binding looks up, in binding order. MT names are bound with the MT ending and
// take the logon handle first; PLAIN names are bound as they stand and need no logon.
// This one list gives the slot indices, the looked-up names and the prototypes.
// clang-format off
#define QV_BOUND_FUNCTIONS(MT, PLAIN) \
    MT(CheckForManagementFtn) \
    MT(ClientLogoff) \
    MT(SetIniValueEx) \
    MT(GetIniValueEx) \
    MT(SetIniValue) \
    MT(GetIniValue) \
    MT(InternalClientLogon) \
    MT(ClientLogonEx) \
    MT(ClientLogon) \
    MT(GetClientEventsSocket) \
    MT(GetClientCallsSocket) \
    MT(SetClientType) \
    MT(GetSerialNo) \
    MT(GetCardClientsCount) \
    MT(GetCardClientByOrdinal) \
    MT(GetCardClientPropertiesEx4) \
    MT(GetCardClientPropertiesEx3) \
    MT(GetCardClientPropertiesEx2) \
    MT(GetCardClientPropertiesEx) \
    MT(GetCardClientProperties) \
    MT(SetCardClientPropertiesEx4) \
    MT(SetCardClientPropertiesEx3) \
    MT(SetCardClientPropertiesEx2) \
    MT(SetCardClientPropertiesEx) \
    MT(GetCardType) \
    MT(DeleteCardClient) \
    MT(GetAttendantsCount) \
    MT(GetAttendantByOrdinal) \
    MT(GetAttendantPropertiesEx2) \
    MT(GetAttendantPropertiesEx) \
    MT(GetAttendantProperties) \
    MT(SetAttendantPropertiesEx2) \
    MT(SetAttendantPropertiesEx) \
    MT(SetAttendantProperties) \
    MT(DeleteAttendant) \
    MT(GetProductsCount) \
    MT(GetProductByOrdinal) \
    MT(GetProductByNumber) \
    MT(DeleteProduct) \
    MT(GetProductProperties) \
    MT(SetProductProperties) \
    MT(GetProductPropertiesEx) \
    MT(GetProductPropertiesEx2) \
    MT(SetProductPropertiesEx) \
    MT(GetGradesCount) \
    MT(GetGradeByOrdinal) \
    MT(DeleteGrade) \
    MT(GetGradeProperties) \
    MT(SetGradeProperties) \
    MT(GetGradePropertiesEx) \
    MT(SetGradePropertiesEx) \
    MT(GetGradePrice) \
    MT(GetTanksCount) \
    MT(GetTankByOrdinal) \
    MT(GetTankProperties) \
    MT(GetTankPropertiesEx) \
    MT(GetTankPropertiesEx2) \
    MT(GetPumpsCount) \
    MT(GetPumpByOrdinal) \
    MT(GetPumpByNumber) \
    MT(GetPumpPropertiesEx) \
    MT(GetPumpProperties) \
    MT(SetPumpProperties) \
    MT(SetPumpPropertiesEx) \
    MT(SetHosePrices) \
    MT(SetHosePricesEx) \
    MT(GetHosePrices) \
    MT(GetHosePricesEx) \
    MT(GetHosesCount) \
    MT(GetHoseByOrdinal) \
    MT(GetHosePropertiesEx3) \
    MT(GetHosePropertiesEx2) \
    MT(GetHosePropertiesEx) \
    MT(GetDeliveriesCount) \
    MT(GetDeliveriesCountNotLogged) \
    MT(GetDeliveriesCountNotVolLogged) \
    MT(GetDeliveryByOrdinal) \
    MT(GetDeliveryIDByOrdinalNotLogged) \
    MT(GetDeliveryIDByOrdinalNotVolLogged) \
    MT(GetDeliverySummaryEx2) \
    MT(GetDeliverySummaryEx3) \
    MT(GetDeliverySummaryEx4) \
    MT(ClearDelivery) \
    MT(LockAndClearDelivery) \
    MT(AckDeliveryDBLog) \
    MT(AckDeliveryVolLog) \
    MT(GetDeliveryExt) \
    MT(SetDeliveryExt) \
    MT(GetSaleItemsCount) \
    MT(GetSaleItemByOrdinal) \
    MT(GetSaleItemSummary) \
    MT(SaleItemClear) \
    MT(SaleItemLockAndClear) \
    MT(SaleItemAckDBLog) \
    MT(SaleItemAckVolLog) \
    MT(ServerVersion) \
    PLAIN(DllVersion) \
    PLAIN(ResultString) \
    MT(GetLogEventCount) \
    MT(GetLogEventByOrdinal) \
    MT(GetLogEventCountEx) \
    MT(GetLogEventByOrdinalEx) \
    MT(ClearLogEvent) \
    MT(AckLogEvent) \
    MT(DeleteLogEvent) \
    MT(GetLogEventProperties) \
    MT(ProcessEvents) \
    MT(GetEventsCount) \
    MT(GetNextEventType) \
    MT(DiscardNextEvent) \
    MT(GetNextPumpEvent) \
    MT(GetNextPumpEventEx2) \
    MT(GetNextPumpEventEx3) \
    MT(GetNextDeliveryEventEx2) \
    MT(GetNextDeliveryEventEx3) \
    MT(GetNextDeliveryEventEx4) \
    MT(GetPumpHosesCount) \
    MT(GetPumpHoseByNumber) \
    MT(PreauthReserve) \
    MT(PreauthCancel) \
    MT(PreauthAuthorise) \
    MT(PaymentReserve) \
    MT(PaymentCancel) \
    MT(PaymentAuthorise) \
    MT(TerminateDelivery) \
    MT(GetNextCardReadEvent) \
    MT(SetDeliveryPropertiesEx4) \
    MT(SetDeliveryPropertiesEx3) \
    MT(SetDeliveryPropertiesEx2) \
    MT(SetDeliveryPropertiesEx) \
    MT(SetDateTime) \
    MT(GetDateTime) \
    MT(GetZigBeeCount) \
    MT(GetZigBeeByOrdinal) \
    MT(GetZigBeeProperties) \
    MT(GetPortsCount) \
    MT(GetPortByNumber) \
    MT(GetPortByName) \
    MT(GetPortByOrdinal) \
    MT(GetPortProperties) \
    MT(GetTankSummary) \
    MT(GetTankSummaryEx) \
    MT(GetTankSummaryEx2) \
    MT(GetDeliveriesCountFiltered) \
    MT(GetDeliveriesCountFilteredEx) \
    MT(GetDeliveryIDByOrdinalFiltered) \
    MT(GetDeliveryIDByOrdinalFilteredEx) \
    MT(GetDeliveryProperties) \
    MT(GetDeliveryPropertiesEx) \
    MT(GetDeliveryPropertiesEx2) \
    MT(GetDeliveryPropertiesEx3) \
    MT(GetDeliveryPropertiesEx4) \
    MT(GetNextDBTankStatusEvent) \
    MT(GetNextDBTankStatusEventEx) \
    MT(GetNextDBTankStatusEventEx2) \
    MT(GetNextLogEventEvent) \
    MT(TempStop) \
    MT(ReAuthorise) \
    MT(GetLastProductUpdated) \
    MT(AddLogEvent) \
    MT(GetSensorsCount) \
    MT(GetSensorByOrdinal) \
    MT(GetSensorProperties) \
    MT(GetSensorPropertiesEx) \
    MT(GetSensorStatus) \
    MT(GetHoseDelTotals) \
    MT(GetZB2GConfig) \
    MT(GetDeviceDetails) \
    MT(SetPortProperties) \
    MT(SetGradePrice) \
    MT(SetZigBeeProperties) \
    MT(SetTankPropertiesEx) \
    MT(SetTankPropertiesEx2) \
    MT(SetHosePropertiesEx) \
    MT(SetHosePropertiesEx2) \
    MT(SetHosePropertiesEx3) \
    MT(SetSensorProperties) \
    MT(SetSensorPropertiesEx) \
    MT(SetNextDeliveryID) \
    MT(DeleteHose) \
    MT(DeletePump) \
    MT(AllStop) \
    MT(Authorise) \
    MT(CancelAuthorise) \
    MT(LoadPreset) \
    MT(LoadPresetWithPrice) \
    MT(GetPumpDeliveryPropertiesEx4) \
    MT(SetPumpDefaultPriceLevel) \
    MT(GetNextDBHoseETotalsEventEx) \
    MT(GetCardReadByOrdinal) \
    MT(GetCardReadProperties) \
    MT(DeleteCardRead) \
    MT(TagAuthorise) \
    MT(GetTCPIPConfig) \
    MT(SetTCPIPConfig) \
    MT(WDReset) \
    MT(GetHoseSummary) \
    MT(GetHoseSummaryEx) \
    MT(GetHoseSummaryEx2) \
    MT(ExternalStartDelivery) \
    MT(ExternalEndDelivery)
// clang-format on

enum BoundIndex : int {
#define QV_INDEX(name) k##name,
    QV_BOUND_FUNCTIONS(QV_INDEX, QV_INDEX)
#undef QV_INDEX
        kBoundTotal
};

constexpr const char* kBoundNames[] = {
#define QV_MT_NAME(name) #name "MT",
#define QV_PLAIN_NAME(name) #name,
    QV_BOUND_FUNCTIONS(QV_MT_NAME, QV_PLAIN_NAME)
#undef QV_MT_NAME
#undef QV_PLAIN_NAME
};

// The prototype of each slot, as the library declares it.
template <int Index> struct BoundType;
#define QV_MT_TYPE(name)                                                                           \
    template <> struct BoundType<k##name> { using type = decltype(&::name##MT); };
#define QV_PLAIN_TYPE(name)                                                                        \
    template <> struct BoundType<k##name> { using type = decltype(&::name); };
QV_BOUND_FUNCTIONS(QV_MT_TYPE, QV_PLAIN_TYPE)
#undef QV_MT_TYPE
#undef QV_PLAIN_TYPE

static_assert(kBoundTotal == 201, "the client library binds 201 names");
static_assert(sizeof(kBoundNames) / sizeof(kBoundNames[0]) == kBoundTotal);
static_assert(ClientLibrary::kBoundCount == kBoundTotal);

// Text arguments are marked at the call site and become BSTRs only once the call is made, so a
// refused call allocates nothing. The BSTRs live until the end of the call's full expression.
struct InText {
    const CStr& text;
};
struct OutText {
    CStr& text;
};
InText In(const CStr& text) {
    return InText{text};
}
OutText Out(CStr& text) {
    return OutText{text};
}

// A BSTR copy of a text; a null text gives a null BSTR.
BSTR CopyToBstr(const CStr& text) {
    if (text.IsNull()) return nullptr;
    return platform::SysAllocStringLen(text.Wide(), static_cast<uint32_t>(text.Length()));
}

// An input text for one call: allocated before, freed after it.
class InBstr {
  public:
    explicit InBstr(const CStr& text) : m_bstr(CopyToBstr(text)) {}
    ~InBstr() { platform::SysFreeString(m_bstr); }
    InBstr(const InBstr&) = delete;
    InBstr& operator=(const InBstr&) = delete;
    operator BSTR() const { return m_bstr; }

  private:
    BSTR m_bstr;
};

// An output text for one call: starts as a copy of the current text, which the library may
// replace; whatever it holds afterwards goes back into the caller's text and is freed.
class OutBstr {
  public:
    explicit OutBstr(CStr& text) : m_text(text), m_bstr(CopyToBstr(text)) {}
    ~OutBstr() {
        if (m_bstr != nullptr) {
            m_text = CStr(m_bstr, static_cast<int>(platform::SysStringLen(m_bstr)));
            platform::SysFreeString(m_bstr);
        }
    }
    OutBstr(const OutBstr&) = delete;
    OutBstr& operator=(const OutBstr&) = delete;
    operator BSTR*() { return &m_bstr; }

  private:
    CStr& m_text;
    BSTR m_bstr;
};

// Turns a marked text into its BSTR holder; every other argument passes unchanged.
template <typename T> T&& Lower(T&& arg) {
    return std::forward<T>(arg);
}
InBstr Lower(InText arg) {
    return InBstr(arg.text);
}
OutBstr Lower(OutText arg) {
    return OutBstr(arg.text);
}

} // namespace

template <int Index> auto ClientLibrary::Fn() const {
    return reinterpret_cast<typename BoundType<Index>::type>(m_slots[Index]);
}

template <int Index, typename... Args> int32_t ClientLibrary::Call(Args&&... args) {
    if (!Ready()) return kNotLoaded;
    if (m_broken) return kConnectionBroken;
    const auto function = Fn<Index>();
    if (function == nullptr) return kMissing;
    const int32_t result = function(m_logonHandle, Lower(std::forward<Args>(args))...);
    if (result == kConnectionBroken) m_broken = true;
    return result;
}

const char16_t* ClientLibrary::LibraryPath() {
    return kLibraryPath;
}

ClientLibrary::ClientLibrary(CLog& log) : m_log(log) {}

ClientLibrary::~ClientLibrary() {
    if (m_module != nullptr) {
        m_slots.fill(nullptr);
        platform::FreeLibrary(m_module);
        m_module = nullptr;
    }
}

bool ClientLibrary::Load() {
    if (m_module != nullptr) return true;
    const CStr path(kLibraryPath);
    m_module = platform::LoadLibrary(std::u16string_view(kLibraryPath));
    if (m_module == nullptr) {
        m_log.Write("QVClient [%s] not found/loaded!!", path.Narrow());
        return false;
    }
    m_log.Write("QVClient [%s] loaded successfully", path.Narrow());
    for (int i = 0; i < kBoundTotal; ++i) {
        m_slots[i] = platform::GetProcAddress(m_module, kBoundNames[i]);
        if (m_slots[i] == nullptr) {
            m_log.Write("QVClient DLL, function %s not found!!!", kBoundNames[i]);
        } else if constexpr (!kBoardBuild) {
            m_log.Log(2, "QVClient DLL, function %s found", kBoundNames[i]);
        }
    }
    return true;
}

bool ClientLibrary::IsBound(const char* name) const {
    const std::string_view wanted(name);
    for (int i = 0; i < kBoundTotal; ++i) {
        std::string_view bound(kBoundNames[i]);
        if (bound.size() == wanted.size() + 2 && bound.substr(wanted.size()) == "MT")
            bound.remove_suffix(2);
        if (bound == wanted) return m_slots[i] != nullptr;
    }
    return false;
}

bool ClientLibrary::ReportResult(const char* text, int32_t result) {
    if (result == 0) return true;
    m_log.Write("%s - %d.", text, result);
    CStr resultText(""); // stays empty when the library cannot give a text
    ResultString(result, resultText);
    std::printf("%s - %s.\n", text, resultText.Narrow());
    m_log.Write("%s - %s.", text, resultText.Narrow());
    return false;
}

// ---- Logon and general ----

int32_t ClientLibrary::Logon(int32_t clientID, int32_t clientType, const CStr& clientName,
                             int32_t clientCategory, const CStr& hashKey, int32_t eventMask,
                             const CStr& serverName, int32_t callPortNo, int32_t eventsPortNo,
                             int32_t callTimeout, int32_t param1, int32_t notifyWindow,
                             int32_t param3) {
    if (m_module == nullptr) return kMissing;
    m_broken = false; // a new logon has a connection of its own
    if (const auto logon = Fn<kInternalClientLogon>()) {
        return logon(&m_logonHandle, clientID, static_cast<int16_t>(clientType),
                     Lower(In(clientName)), static_cast<int16_t>(clientCategory),
                     Lower(In(hashKey)), eventMask, Lower(In(serverName)), callPortNo, eventsPortNo,
                     callTimeout, param1, notifyWindow, param3);
    }
    const auto logonEx = Fn<kClientLogonEx>();
    if (logonEx == nullptr) return kMissing;
    // The older logon carries no client name, key or event mask: declare them afterwards.
    int32_t result =
        logonEx(&m_logonHandle, clientID, static_cast<int16_t>(clientType), Lower(In(serverName)),
                callPortNo, eventsPortNo, callTimeout, param1, notifyWindow, param3);
    if (result == 0) result = SetClientType(kLegacyClientTypeKey);
    if (result == 0) result = SetClientType(eventMask);
    return result;
}

int32_t ClientLibrary::Logoff() {
    if (!Ready()) return kNotLoaded;
    const auto logoff = Fn<kClientLogoff>();
    if (logoff == nullptr) return kMissing;
    return logoff(&m_logonHandle);
}

int32_t ClientLibrary::SetClientType(int32_t key) {
    return Call<kSetClientType>(key);
}

int32_t ClientLibrary::DllVersion(CStr& text) {
    const auto version = Fn<kDllVersion>();
    if (m_module == nullptr || version == nullptr) return kMissing;
    return version(Lower(Out(text)));
}

int32_t ClientLibrary::ServerVersion(CStr& text) {
    return Call<kServerVersion>(Out(text));
}

int32_t ClientLibrary::ResultString(int32_t result, CStr& text) {
    const auto resultString = Fn<kResultString>();
    if (m_module == nullptr || resultString == nullptr) return kMissing;
    BSTR returned = resultString(result);
    if (returned != nullptr) {
        text = CStr(returned, static_cast<int>(platform::SysStringLen(returned)));
        platform::SysFreeString(returned);
    }
    return 0;
}

// ---- Export side ----

int32_t ClientLibrary::GetPortsCount(int32_t& count) {
    return Call<kGetPortsCount>(&count);
}

int32_t ClientLibrary::GetPortByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetPortByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetPortProperties(int32_t id, int32_t& number, CStr& name,
                                         int16_t& protocolID, int16_t& deviceType, CStr& serialNo) {
    return Call<kGetPortProperties>(id, &number, Out(name), &protocolID, &deviceType,
                                    Out(serialNo));
}

int32_t ClientLibrary::GetZB2GConfig(int32_t portID, int32_t& panID, int32_t& channels,
                                     int64_t& keyA, int64_t& keyB) {
    return Call<kGetZB2GConfig>(portID, &panID, &channels, &keyA, &keyB);
}

int32_t ClientLibrary::GetDeviceDetails(int32_t portID, int32_t deviceID, CStr& serialNo,
                                        CStr& bootVersion, CStr& firmwareVersion) {
    return Call<kGetDeviceDetails>(portID, deviceID, Out(serialNo), Out(bootVersion),
                                   Out(firmwareVersion));
}

int32_t ClientLibrary::GetZigBeeCount(int32_t& count) {
    return Call<kGetZigBeeCount>(&count);
}

int32_t ClientLibrary::GetZigBeeByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetZigBeeByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetZigBeeProperties(int32_t id, int32_t& number, CStr& name,
                                           int16_t& deviceType, CStr& serialNumber,
                                           CStr& nodeIdentifier, int32_t& portID) {
    return Call<kGetZigBeeProperties>(id, &number, Out(name), &deviceType, Out(serialNumber),
                                      Out(nodeIdentifier), &portID);
}

int32_t ClientLibrary::GetGradesCount(int32_t& count) {
    return Call<kGetGradesCount>(&count);
}

int32_t ClientLibrary::GetGradeByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetGradeByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetGradeProperties(int32_t id, int32_t& number, CStr& name, CStr& shortName,
                                          CStr& code, int16_t& type) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetGradePropertiesEx>())
        return Call<kGetGradePropertiesEx>(id, &number, Out(name), Out(shortName), Out(code),
                                           &type);
    if (Fn<kGetGradeProperties>()) {
        type = 1;
        return Call<kGetGradeProperties>(id, &number, Out(name), Out(shortName), Out(code));
    }
    return kMissing;
}

int32_t ClientLibrary::GetGradePrice(int32_t id, int16_t level, double& price) {
    return Call<kGetGradePrice>(id, level, &price);
}

int32_t ClientLibrary::GetTanksCount(int32_t& count) {
    return Call<kGetTanksCount>(&count);
}

int32_t ClientLibrary::GetTankByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetTankByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetTankProperties(
    int32_t id, int32_t& number, CStr& name, int32_t& gradeID, int16_t& type, double& capacity,
    double& diameter, double& theoVolume, double& gaugeVolume, double& gaugeTCVolume,
    double& gaugeUllage, double& gaugeTemperature, double& gaugeLevel, double& gaugeWaterVolume,
    double& gaugeWaterLevel, int32_t& gaugeID, int16_t& probeNo, int32_t& gaugeAlarmsMask,
    int32_t& slotZigBeeID, int16_t& probeType, int32_t& probeSerialNo) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetTankPropertiesEx2>())
        return Call<kGetTankPropertiesEx2>(
            id, &number, Out(name), &gradeID, &type, &capacity, &diameter, &theoVolume,
            &gaugeVolume, &gaugeTCVolume, &gaugeUllage, &gaugeTemperature, &gaugeLevel,
            &gaugeWaterVolume, &gaugeWaterLevel, &gaugeID, &probeNo, &gaugeAlarmsMask,
            &slotZigBeeID, &probeType, &probeSerialNo);
    // What the older variants do not report.
    const auto presetBelowEx2 = [&] {
        slotZigBeeID = -1;
        probeType = -1;
        probeSerialNo = 1;
    };
    if (Fn<kGetTankPropertiesEx>()) {
        presetBelowEx2();
        return Call<kGetTankPropertiesEx>(
            id, &number, Out(name), &gradeID, &type, &capacity, &diameter, &theoVolume,
            &gaugeVolume, &gaugeTCVolume, &gaugeUllage, &gaugeTemperature, &gaugeLevel,
            &gaugeWaterVolume, &gaugeWaterLevel, &gaugeID, &probeNo, &gaugeAlarmsMask);
    }
    if (Fn<kGetTankProperties>()) {
        presetBelowEx2();
        gaugeAlarmsMask = 0;
        return Call<kGetTankProperties>(id, &number, Out(name), &gradeID, &type, &capacity,
                                        &diameter, &theoVolume, &gaugeVolume, &gaugeTCVolume,
                                        &gaugeUllage, &gaugeTemperature, &gaugeLevel,
                                        &gaugeWaterVolume, &gaugeWaterLevel, &gaugeID, &probeNo);
    }
    return kMissing;
}

int32_t ClientLibrary::GetPumpsCount(int32_t& count) {
    return Call<kGetPumpsCount>(&count);
}

int32_t ClientLibrary::GetPumpByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetPumpByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetPumpProperties(
    int32_t id, int32_t& number, CStr& name, int16_t& physicalNumber, int16_t& side,
    int16_t& address, int16_t& priceLevel1, int16_t& priceLevel2, int16_t& priceDspFormat,
    int16_t& volumeDspFormat, int16_t& valueDspFormat, int16_t& type, int32_t& portID,
    int32_t& attendantID, int16_t& authMode, int16_t& stackMode, int16_t& prepayAllowed,
    int16_t& preauthAllowed, int32_t& slotZigBeeID, int32_t& muxSlotZigBeeID, int16_t& priceControl,
    int16_t& hasPreset) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetPumpPropertiesEx>())
        return Call<kGetPumpPropertiesEx>(
            id, &number, Out(name), &physicalNumber, &side, &address, &priceLevel1, &priceLevel2,
            &priceDspFormat, &volumeDspFormat, &valueDspFormat, &type, &portID, &attendantID,
            &authMode, &stackMode, &prepayAllowed, &preauthAllowed, &slotZigBeeID, &muxSlotZigBeeID,
            &priceControl, &hasPreset);
    if (Fn<kGetPumpProperties>()) {
        slotZigBeeID = 1;
        muxSlotZigBeeID = -1;
        priceControl = 1;
        hasPreset = 1;
        return Call<kGetPumpProperties>(
            id, &number, Out(name), &physicalNumber, &side, &address, &priceLevel1, &priceLevel2,
            &priceDspFormat, &volumeDspFormat, &valueDspFormat, &type, &portID, &attendantID,
            &authMode, &stackMode, &prepayAllowed, &preauthAllowed);
    }
    return kMissing;
}

int32_t ClientLibrary::GetPumpHosesCount(int32_t pumpID, int32_t& count) {
    return Call<kGetPumpHosesCount>(pumpID, &count);
}

int32_t ClientLibrary::GetPumpHoseByNumber(int32_t pumpID, int32_t hoseNumber, int32_t& hoseID) {
    return Call<kGetPumpHoseByNumber>(pumpID, hoseNumber, &hoseID);
}

int32_t ClientLibrary::GetHoseProperties(int32_t id, int32_t& number, int32_t& pumpID,
                                         int32_t& tankID, int32_t& physicalNumber,
                                         double& mtrTheoValue, double& mtrTheoVolume,
                                         double& mtrElecValue, double& mtrElecVolume,
                                         int16_t& uveAntenna, double& price1, double& price2,
                                         double& price3, double& price4, int16_t& enabled) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetHosePropertiesEx3>())
        return Call<kGetHosePropertiesEx3>(id, &number, &pumpID, &tankID, &physicalNumber,
                                           &mtrTheoValue, &mtrTheoVolume, &mtrElecValue,
                                           &mtrElecVolume, &uveAntenna, &price1, &price2, &price3,
                                           &price4, &enabled);
    if (Fn<kGetHosePropertiesEx2>()) {
        price3 = 0;
        price4 = 0;
        return Call<kGetHosePropertiesEx2>(id, &number, &pumpID, &tankID, &physicalNumber,
                                           &mtrTheoValue, &mtrTheoVolume, &mtrElecValue,
                                           &mtrElecVolume, &uveAntenna, &price1, &price2, &enabled);
    }
    if (Fn<kGetHosePropertiesEx>()) {
        price1 = 0;
        price2 = 0;
        price3 = 0;
        price4 = 0;
        enabled = 1;
        return Call<kGetHosePropertiesEx>(id, &number, &pumpID, &tankID, &physicalNumber,
                                          &mtrTheoValue, &mtrTheoVolume, &mtrElecValue,
                                          &mtrElecVolume, &uveAntenna);
    }
    return kMissing;
}

int32_t ClientLibrary::GetSensorsCount(int32_t& count) {
    return Call<kGetSensorsCount>(&count);
}

int32_t ClientLibrary::GetSensorByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetSensorByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetSensorProperties(int32_t id, int32_t& number, CStr& name, int32_t& portID,
                                           int16_t& type, int16_t& address, int16_t& sensorNo,
                                           int32_t& slotZigBeeID, int32_t& sensorSerialNo) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetSensorPropertiesEx>())
        return Call<kGetSensorPropertiesEx>(id, &number, Out(name), &portID, &type, &address,
                                            &sensorNo, &slotZigBeeID, &sensorSerialNo);
    if (Fn<kGetSensorProperties>()) {
        slotZigBeeID = -1;
        sensorSerialNo = 0;
        return Call<kGetSensorProperties>(id, &number, Out(name), &portID, &type, &address,
                                          &sensorNo);
    }
    return kMissing;
}

int32_t ClientLibrary::GetProductsCount(int32_t number, const CStr& name, const CStr& shortName,
                                        const CStr& tag, const CStr& barcode, int32_t productGroup,
                                        int32_t& count) {
    return Call<kGetProductsCount>(number, In(name), In(shortName), In(tag), In(barcode),
                                   productGroup, &count);
}

int32_t ClientLibrary::GetProductByOrdinal(int32_t ordinal, int32_t number, const CStr& name,
                                           const CStr& shortName, const CStr& tag,
                                           const CStr& barcode, int32_t productGroup, int32_t& id) {
    return Call<kGetProductByOrdinal>(number, In(name), In(shortName), In(tag), In(barcode),
                                      productGroup, ordinal, &id);
}

int32_t ClientLibrary::GetProductProperties(int32_t id, int32_t& number, CStr& name, CStr& tag,
                                            int16_t& enabled, CStr& shortName, CStr& barcode,
                                            int32_t& quickCode, double& price1, double& price2,
                                            double& price3, double& price4, int32_t& productGroup,
                                            double& addedDT, double& updatedDT) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetProductPropertiesEx2>())
        return Call<kGetProductPropertiesEx2>(
            id, &number, Out(name), Out(tag), &enabled, Out(shortName), Out(barcode), &quickCode,
            &price1, &price2, &price3, &price4, &productGroup, &addedDT, &updatedDT);
    if (Fn<kGetProductPropertiesEx>()) {
        addedDT = 0;
        updatedDT = 0;
        return Call<kGetProductPropertiesEx>(id, &number, Out(name), Out(tag), &enabled,
                                             Out(shortName), Out(barcode), &quickCode, &price1,
                                             &price2, &price3, &price4, &productGroup);
    }
    if (Fn<kGetProductProperties>()) {
        addedDT = 0;
        updatedDT = 0;
        quickCode = 0;
        price3 = 0;
        price4 = 0;
        return Call<kGetProductProperties>(id, &number, Out(name), Out(tag), &enabled,
                                           Out(shortName), Out(barcode), &price1, &price2,
                                           &productGroup);
    }
    return kMissing;
}

int32_t ClientLibrary::GetAttendantsCount(int32_t& count) {
    return Call<kGetAttendantsCount>(&count);
}

int32_t ClientLibrary::GetAttendantByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetAttendantByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetAttendantProperties(int32_t id, int32_t& number, CStr& name,
                                              CStr& shortName, CStr& password, CStr& tag,
                                              CStr& idNumber, int16_t& shiftAStart,
                                              int16_t& shiftAEnd, int16_t& shiftBStart,
                                              int16_t& shiftBEnd, int16_t& type) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kGetAttendantPropertiesEx2>())
        return Call<kGetAttendantPropertiesEx2>(
            id, &number, Out(name), Out(shortName), Out(password), Out(tag), Out(idNumber),
            &shiftAStart, &shiftAEnd, &shiftBStart, &shiftBEnd, &type);
    if (Fn<kGetAttendantPropertiesEx>()) {
        idNumber = "";
        return Call<kGetAttendantPropertiesEx>(id, &number, Out(name), Out(shortName),
                                               Out(password), Out(tag), &shiftAStart, &shiftAEnd,
                                               &shiftBStart, &shiftBEnd, &type);
    }
    if (Fn<kGetAttendantProperties>()) {
        idNumber = "";
        shiftAStart = 0;
        shiftAEnd = 1439; // the whole day, in minutes
        shiftBStart = 0;
        shiftBEnd = 1439;
        type = 1;
        return Call<kGetAttendantProperties>(id, &number, Out(name), Out(shortName), Out(password),
                                             Out(tag));
    }
    return kMissing;
}

int32_t ClientLibrary::GetCardClientsCount(int32_t& count) {
    return Call<kGetCardClientsCount>(&count);
}

int32_t ClientLibrary::GetCardClientByOrdinal(int32_t ordinal, int32_t& id) {
    return Call<kGetCardClientByOrdinal>(ordinal, &id);
}

int32_t ClientLibrary::GetCardClientProperties(int32_t id, int32_t& number, CStr& name, CStr& tag,
                                               int16_t& enabled, int16_t& priceLevel, CStr& plate,
                                               CStr& idNumber, CStr& shortName, CStr& password,
                                               int16_t& gradeType, int16_t& cardType,
                                               int16_t& limitType, double& limit,
                                               int16_t& entryType, double& expirationDate,
                                               int32_t& parentID, CStr& qvOdoSerialNo,
                                               double& odometer, int32_t& factor) {
    if (!Ready()) return kNotLoaded;
    // What each older variant does not report, on top of what the next newer one lacks.
    const auto presetBelowEx4 = [&] {
        qvOdoSerialNo = "";
        odometer = 0;
        factor = 0;
    };
    const auto presetBelowEx3 = [&] {
        presetBelowEx4();
        idNumber = "";
        shortName = "";
        password = "";
    };
    const auto presetBelowEx2 = [&] {
        presetBelowEx3();
        gradeType = 1;
        cardType = 1;
        limitType = 1;
        limit = 0;
        entryType = 1;
        expirationDate = 0;
        parentID = -1;
    };
    if (Fn<kGetCardClientPropertiesEx4>())
        return Call<kGetCardClientPropertiesEx4>(
            id, &number, Out(name), Out(tag), &enabled, &priceLevel, Out(plate), Out(idNumber),
            Out(shortName), Out(password), &gradeType, &cardType, &limitType, &limit, &entryType,
            &expirationDate, &parentID, Out(qvOdoSerialNo), &odometer, &factor);
    if (Fn<kGetCardClientPropertiesEx3>()) {
        presetBelowEx4();
        return Call<kGetCardClientPropertiesEx3>(
            id, &number, Out(name), Out(tag), &enabled, &priceLevel, Out(plate), Out(idNumber),
            Out(shortName), Out(password), &gradeType, &cardType, &limitType, &limit, &entryType,
            &expirationDate, &parentID);
    }
    if (Fn<kGetCardClientPropertiesEx2>()) {
        presetBelowEx3();
        return Call<kGetCardClientPropertiesEx2>(
            id, &number, Out(name), Out(tag), &enabled, &priceLevel, Out(plate), &gradeType,
            &cardType, &limitType, &limit, &entryType, &expirationDate, &parentID);
    }
    if (Fn<kGetCardClientPropertiesEx>()) {
        presetBelowEx2();
        return Call<kGetCardClientPropertiesEx>(id, &number, Out(name), Out(tag), &enabled,
                                                &priceLevel, Out(plate));
    }
    if (Fn<kGetCardClientProperties>()) {
        presetBelowEx2();
        priceLevel = 0;
        plate = "";
        return Call<kGetCardClientProperties>(id, &number, Out(name), Out(tag), &enabled);
    }
    return kMissing;
}

int32_t ClientLibrary::GetTCPIPConfig(CStr& ipAddress, CStr& netMask, CStr& gateway,
                                      CStr& dnsServer, int16_t& dhcp, CStr& networkName) {
    return Call<kGetTCPIPConfig>(Out(ipAddress), Out(netMask), Out(gateway), Out(dnsServer), &dhcp,
                                 Out(networkName));
}

// ---- Import side ----

int32_t ClientLibrary::SetPortProperties(int32_t id, int32_t number, const CStr& name,
                                         int16_t protocolID, int16_t deviceType,
                                         const CStr& serialNo) {
    return Call<kSetPortProperties>(id, number, In(name), protocolID, deviceType, In(serialNo));
}

int32_t ClientLibrary::SetGradeProperties(int32_t id, int32_t number, const CStr& name,
                                          const CStr& shortName, const CStr& code, int16_t type) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetGradePropertiesEx>())
        return Call<kSetGradePropertiesEx>(id, number, In(name), In(shortName), In(code), type);
    if (Fn<kSetGradeProperties>())
        return Call<kSetGradeProperties>(id, number, In(name), In(shortName), In(code));
    return kMissing;
}

int32_t ClientLibrary::SetGradePrice(int32_t id, int16_t level, double price) {
    return Call<kSetGradePrice>(id, level, price);
}

int32_t ClientLibrary::SetZigBeeProperties(int32_t id, int32_t number, const CStr& name,
                                           int16_t deviceType, const CStr& serialNumber,
                                           const CStr& nodeIdentifier, int32_t portID) {
    return Call<kSetZigBeeProperties>(id, number, In(name), deviceType, In(serialNumber),
                                      In(nodeIdentifier), portID);
}

int32_t ClientLibrary::SetTankProperties(
    int32_t id, int32_t number, const CStr& name, int32_t gradeID, int16_t type, double capacity,
    double diameter, double theoVolume, double gaugeVolume, double gaugeTCVolume,
    double gaugeUllage, double gaugeTemperature, double gaugeLevel, double gaugeWaterVolume,
    double gaugeWaterLevel, int32_t gaugeID, int16_t probeNo, int32_t gaugeAlarmsMask,
    int32_t slotZigBeeID, int16_t probeType, int32_t probeSerialNo) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetTankPropertiesEx2>())
        return Call<kSetTankPropertiesEx2>(id, number, In(name), gradeID, type, capacity, diameter,
                                           theoVolume, gaugeVolume, gaugeTCVolume, gaugeUllage,
                                           gaugeTemperature, gaugeLevel, gaugeWaterVolume,
                                           gaugeWaterLevel, gaugeID, probeNo, gaugeAlarmsMask,
                                           slotZigBeeID, probeType, probeSerialNo);
    if (Fn<kSetTankPropertiesEx>())
        return Call<kSetTankPropertiesEx>(id, number, In(name), gradeID, type, capacity, diameter,
                                          theoVolume, gaugeVolume, gaugeTCVolume, gaugeUllage,
                                          gaugeTemperature, gaugeLevel, gaugeWaterVolume,
                                          gaugeWaterLevel, gaugeID, probeNo, gaugeAlarmsMask);
    return kMissing;
}

int32_t ClientLibrary::SetPumpProperties(int32_t id, int32_t number, const CStr& name,
                                         int16_t physicalNumber, int16_t side, int16_t address,
                                         int16_t priceLevel1, int16_t priceLevel2,
                                         int16_t priceDspFormat, int16_t volumeDspFormat,
                                         int16_t valueDspFormat, int16_t type, int32_t portID,
                                         int32_t attendantID, int16_t authMode, int16_t stackMode,
                                         int16_t prepayAllowed, int16_t preauthAllowed,
                                         int32_t slotZigBeeID, int32_t muxSlotZigBeeID,
                                         int16_t priceControl, int16_t hasPreset) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetPumpPropertiesEx>())
        return Call<kSetPumpPropertiesEx>(id, number, In(name), physicalNumber, side, address,
                                          priceLevel1, priceLevel2, priceDspFormat, volumeDspFormat,
                                          valueDspFormat, type, portID, attendantID, authMode,
                                          stackMode, prepayAllowed, preauthAllowed, slotZigBeeID,
                                          muxSlotZigBeeID, priceControl, hasPreset);
    if (Fn<kSetPumpProperties>())
        return Call<kSetPumpProperties>(id, number, In(name), physicalNumber, side, address,
                                        priceLevel1, priceLevel2, priceDspFormat, volumeDspFormat,
                                        valueDspFormat, type, portID, attendantID, authMode,
                                        stackMode, prepayAllowed, preauthAllowed);
    return kMissing;
}

int32_t ClientLibrary::SetHoseProperties(int32_t id, int32_t number, int32_t pumpID, int32_t tankID,
                                         int32_t physicalNumber, double mtrTheoValue,
                                         double mtrTheoVolume, double mtrElecValue,
                                         double mtrElecVolume, int16_t uveAntenna, double price1,
                                         double price2, double price3, double price4,
                                         int16_t enabled) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetHosePropertiesEx3>())
        return Call<kSetHosePropertiesEx3>(id, number, pumpID, tankID, physicalNumber, mtrTheoValue,
                                           mtrTheoVolume, mtrElecValue, mtrElecVolume, uveAntenna,
                                           price1, price2, price3, price4, enabled);
    if (Fn<kSetHosePropertiesEx2>())
        return Call<kSetHosePropertiesEx2>(id, number, pumpID, tankID, physicalNumber, mtrTheoValue,
                                           mtrTheoVolume, mtrElecValue, mtrElecVolume, uveAntenna,
                                           price1, price2, enabled);
    if (Fn<kSetHosePropertiesEx>())
        return Call<kSetHosePropertiesEx>(id, number, pumpID, tankID, physicalNumber, mtrTheoValue,
                                          mtrTheoVolume, mtrElecValue, mtrElecVolume, uveAntenna);
    return kMissing;
}

int32_t ClientLibrary::SetSensorProperties(int32_t id, int32_t number, const CStr& name,
                                           int32_t portID, int16_t type, int16_t address,
                                           int16_t sensorNo, int32_t slotZigBeeID,
                                           int32_t sensorSerialNo) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetSensorPropertiesEx>())
        return Call<kSetSensorPropertiesEx>(id, number, In(name), portID, type, address, sensorNo,
                                            slotZigBeeID, sensorSerialNo);
    if (Fn<kSetSensorProperties>())
        return Call<kSetSensorProperties>(id, number, In(name), portID, type, address, sensorNo);
    return kMissing;
}

int32_t ClientLibrary::SetAttendantProperties(int32_t id, int32_t number, const CStr& name,
                                              const CStr& shortName, const CStr& password,
                                              const CStr& tag, const CStr& idNumber,
                                              int16_t shiftAStart, int16_t shiftAEnd,
                                              int16_t shiftBStart, int16_t shiftBEnd,
                                              int16_t type) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetAttendantPropertiesEx2>())
        return Call<kSetAttendantPropertiesEx2>(id, number, In(name), In(shortName), In(password),
                                                In(tag), In(idNumber), shiftAStart, shiftAEnd,
                                                shiftBStart, shiftBEnd, type);
    if (Fn<kSetAttendantPropertiesEx>())
        return Call<kSetAttendantPropertiesEx>(id, number, In(name), In(shortName), In(password),
                                               In(tag), shiftAStart, shiftAEnd, shiftBStart,
                                               shiftBEnd, type);
    if (Fn<kSetAttendantProperties>())
        return Call<kSetAttendantProperties>(id, number, In(name), In(shortName), In(password),
                                             In(tag));
    return kMissing;
}

int32_t ClientLibrary::SetProductProperties(int32_t id, int32_t number, const CStr& name,
                                            const CStr& tag, int16_t enabled, const CStr& shortName,
                                            const CStr& barcode, int32_t quickCode, double price1,
                                            double price2, double price3, double price4,
                                            int32_t productGroup) {
    if (!Ready()) return kNotLoaded;
    // Libraries that store products at all export the plain setter; without it the newer one
    // is not trusted either.
    if (!Fn<kSetProductProperties>()) return kMissing;
    if (Fn<kSetProductPropertiesEx>())
        return Call<kSetProductPropertiesEx>(id, number, In(name), In(tag), enabled, In(shortName),
                                             In(barcode), quickCode, price1, price2, price3, price4,
                                             productGroup);
    return Call<kSetProductProperties>(id, number, In(name), In(tag), enabled, In(shortName),
                                       In(barcode), price1, price2, productGroup);
}

int32_t ClientLibrary::SetCardClientProperties(
    int32_t id, int32_t number, const CStr& name, const CStr& tag, int16_t enabled,
    int16_t priceLevel, const CStr& plate, const CStr& idNumber, const CStr& shortName,
    const CStr& password, int16_t gradeType, int16_t cardType, int16_t limitType, double limit,
    int16_t entryType, double expirationDate, int32_t parentID, const CStr& qvOdoSerialNo,
    double odometer, int32_t factor) {
    if (!Ready()) return kNotLoaded;
    if (Fn<kSetCardClientPropertiesEx4>())
        return Call<kSetCardClientPropertiesEx4>(
            id, number, In(name), In(tag), enabled, priceLevel, In(plate), In(idNumber),
            In(shortName), In(password), gradeType, cardType, limitType, limit, entryType,
            expirationDate, parentID, In(qvOdoSerialNo), odometer, factor);
    if (Fn<kSetCardClientPropertiesEx3>())
        return Call<kSetCardClientPropertiesEx3>(id, number, In(name), In(tag), enabled, priceLevel,
                                                 In(plate), In(idNumber), In(shortName),
                                                 In(password), gradeType, cardType, limitType,
                                                 limit, entryType, expirationDate, parentID);
    if (Fn<kSetCardClientPropertiesEx2>())
        return Call<kSetCardClientPropertiesEx2>(id, number, In(name), In(tag), enabled, priceLevel,
                                                 In(plate), gradeType, cardType, limitType, limit,
                                                 entryType, expirationDate, parentID);
    if (Fn<kSetCardClientPropertiesEx>())
        return Call<kSetCardClientPropertiesEx>(id, number, In(name), In(tag), enabled, priceLevel,
                                                In(plate));
    return kMissing;
}
