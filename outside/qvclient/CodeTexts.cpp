// One table row per named code; the codes come from the library's own definitions.
#include "outside/qvclient/CodeTexts.h"

#include "outside/qvclient/QVCodes.h"

namespace qvclient {

namespace {

struct CodeRow {
    int32_t code;
    const char* text;
};

constexpr CodeRow kPumpStates[] = {
    {PUMP_STATE_OFFLINE, "Off line"},
    {PUMP_STATE_COMMS_ERROR, "Communication error"},
    {PUMP_STATE_ERROR, "Pump error"},
    {PUMP_STATE_LOCKED, "Locked"},
    {PUMP_STATE_IDLE, "Idle"},
    {PUMP_STATE_AUTHORISED, "Authorised"},
    {PUMP_STATE_CALLING, "Calling"},
    {PUMP_STATE_STARTING, "Starting"},
    {PUMP_STATE_NO_NOZZLE, "No nozzle"},
    {PUMP_STATE_TEMP_STOPPED, "Temporarily stopped"},
    {PUMP_STATE_DELIVERING, "Delivering"},
    {PUMP_STATE_FINISHED, "Delivery finished"},
    {PUMP_STATE_SLOWING, "Delivering, slowing down"},
    {PUMP_STATE_NOZZLE_LEFT_OUT, "Nozzle left out"},
    {PUMP_STATE_PREPAY_TIMEOUT, "Prepay timed out"},
    {PUMP_STATE_STOPPED, "Stopped"},
    {PUMP_STATE_PRICE_ERROR, "Price error"},
    {PUMP_STATE_DISABLED, "Disabled"},
};

constexpr CodeRow kDeliveryStates[] = {
    {DELIVERY_STATE_IN_PROGRESS, "In progress"},
    {DELIVERY_STATE_CURRENT, "Current"},
    {DELIVERY_STATE_STACKED, "Stacked"},
    {DELIVERY_STATE_CLEARED, "Cleared"},
};

constexpr CodeRow kDeliveryTypes[] = {
    {DELIVERY_TYPE_UNKNOWN, "Unknown"},     {DELIVERY_TYPE_POSTPAY, "Postpay"},
    {DELIVERY_TYPE_PREPAY, "Prepay"},       {DELIVERY_TYPE_REFUND, "Prepay refund"},
    {DELIVERY_TYPE_PREAUTH, "Preauth"},     {DELIVERY_TYPE_PAYMENT, "Payment"},
    {DELIVERY_TYPE_ATTENDANT, "Attendant"}, {DELIVERY_TYPE_MONITOR, "Monitor"},
    {DELIVERY_TYPE_TEST, "Test"},
};

constexpr CodeRow kReserveTypes[] = {
    {RESERVE_NONE, "Not reserved"},
    {RESERVE_AUTHORISED, "Authorised"},
    {RESERVE_PREPAY_LOCKED, "Prepay reserved"},
    {RESERVE_PREPAY, "Prepay"},
    {RESERVE_PREAUTH_LOCKED, "Preauth reserved"},
    {RESERVE_PREAUTH, "Preauth"},
    {RESERVE_PAYMENT_LOCKED, "Payment reserved"},
    {RESERVE_PAYMENT, "Payment"},
    {RESERVE_TAG_LOCKED, "Tag preauth reserved"},
    {RESERVE_TAG, "Tag preauth"},
};

constexpr CodeRow kControlResults[] = {
    {RESULT_WRONG_PUMP_STATE, "Pump not in a state for this operation"},
    {RESULT_PUMP_RESERVED, "Pump reserved"},
    {RESULT_NOT_ALLOWED, "Not allowed on this pump"},
    {RESULT_NO_CURRENT_DELIVERY, "No current delivery"},
    {RESULT_DELIVERY_LOCKED, "Delivery locked by another client"},
    {RESULT_DELIVERY_STARTED, "Delivery already started"},
    {RESULT_STACK_FULL, "Delivery stack full"},
    {RESULT_CURRENT_NOT_STACKED, "Current delivery not stacked"},
    {RESULT_DELIVERY_CLEARED, "Delivery already cleared"},
    {RESULT_PUMP_DISABLED, "Pump disabled"},
    {RESULT_HOSE_NOT_ALLOWED, "Hose not allowed"},
};

template <size_t N>
std::string Lookup(const CodeRow (&table)[N], int32_t code, const char* unknown) {
    for (const CodeRow& row : table)
        if (row.code == code) return row.text;
    return unknown[0] ? std::string(unknown) + " " + std::to_string(code) : std::string();
}

} // namespace

std::string PumpStateText(int32_t state) {
    return Lookup(kPumpStates, state, "Unknown pump state");
}
std::string DeliveryStateText(int32_t state) {
    return Lookup(kDeliveryStates, state, "Unknown delivery state");
}
std::string DeliveryTypeText(int32_t type) {
    return Lookup(kDeliveryTypes, type, "Unknown delivery type");
}
std::string ReserveTypeText(int32_t type) {
    return Lookup(kReserveTypes, type, "Unknown reserve type");
}
std::string ControlResultText(int32_t result) {
    return Lookup(kControlResults, result, "");
}

} // namespace qvclient
