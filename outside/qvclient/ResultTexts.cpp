// The result table: one row per code of QVResult.
#include "outside/qvclient/ResultTexts.h"

#include "outside/qvclient/CodeTexts.h"

#include "outside/qvclient/QVClient.h"

namespace qvclient {

namespace {

struct ResultRow {
    int32_t code;
    const char* text;
};

constexpr ResultRow kResults[] = {
    {QV_OK, "Success"},
    {QV_FAILED, "Operation failed"},
    {QV_INVALID_ARGUMENT, "Invalid argument"},
    {QV_UNKNOWN_ID, "Unknown ID"},
    {QV_INVALID_ORDINAL, "Ordinal out of range"},
    {QV_NOT_SUPPORTED, "Function not supported by this server"},
    {QV_DATABASE_ERROR, "Server database error"},
    {QV_ACCESS_DENIED, "Access denied"},
    {QV_NOT_LOGGED_ON, "Not logged on"},
    {QV_TOO_MANY_LOGONS, "Too many logons in this process"},
    {QV_INJECTED_FAILURE, "Failure simulated by the server"},
    {QV_NO_EVENT, "No event waiting"},
    {QV_NO_DEVICE_DETAILS, "Device does not report its details"},
    {QV_UNKNOWN_REFERENCE, "Referenced record does not exist"},
    {QV_FUNCTION_MISSING, "Function missing"},
    {QV_MESSAGE_TOO_LONG, "Message too long"},
    {QV_CONNECTION_BROKEN, "Connection to the server broken"},
    {QV_SERVER_NOT_FOUND, "Server name cannot be resolved"},
    {QV_CANNOT_CONNECT, "Cannot connect to the server"},
    {QV_PROTOCOL_ERROR, "Malformed answer from the server"},
    {QV_TIMEOUT, "Call timed out"},
};

} // namespace

std::string ResultText(int32_t result) {
    for (const ResultRow& row : kResults)
        if (row.code == result) return row.text;
    // Why a pump or delivery refused a call.
    const std::string control = ControlResultText(result);
    if (!control.empty()) return control;
    return "Unknown result " + std::to_string(result);
}

} // namespace qvclient
