// The client library's functions under their plain names, bound to the process's one logon.
// A program that holds a single connection calls ClientLogon (or ClientLogonEx,
// InternalClientLogon) once, then every other function without a handle; ClientLogoff ends it.
//
// - Each plain function is the MT function of the same name (QVClient.h, where its parameters
//   and results are described) called with the process's logon handle; while no logon is held
//   it returns QV_NOT_LOGGED_ON (8) and leaves its outputs as they were.
// - One logon at a time: a logon call while the process holds one returns QV_TOO_MANY_LOGONS
//   (9) and keeps the held logon.
// - The window handle and message number given at logon are kept with the logon (a window
//   handle is pointer-sized). While the logon lasts the library posts that message to that
//   window from its events thread when events have been queued or the events connection has
//   closed, as InternalClientLogonMT describes (QVClient.h); a handle of 0 is never posted to.
// - Safe to call from several threads; a logon or logoff racing with calls simply makes those
//   calls see the old or the new logon.
#pragma once
#include <cstdint>

#include "outside/qvclient/QVClient.h"

extern "C" {

// ---- The process's logon ----

// InternalClientLogonMT's logon for the process: ClientName, ClientCategory, HashKey and
// EventMask as there; EventHandle, hwnd (the window to notify) and msg (the message to post)
// kept with the logon. 0 on success, else the logon's result (9 when a logon is held).
int32_t InternalClientLogon(int32_t ClientID, int16_t ClientType, BSTR ClientName,
                            int16_t ClientCategory, BSTR HashKey, int32_t EventMask,
                            BSTR ServerName, int32_t CallPortNo, int32_t EventsPortNo,
                            int32_t CallTimeout, int32_t EventHandle, intptr_t hwnd, int32_t msg);
// ClientLogonExMT's logon for the process: an explicit server, ports and call timeout.
int32_t ClientLogonEx(int32_t ClientID, int16_t ClientType, BSTR ServerName, int32_t CallPortNo,
                      int32_t EventsPortNo, int32_t CallTimeout, int32_t EventHandle, intptr_t hwnd,
                      int32_t msg);
// ClientLogonMT's logon for the process: the local server (or QV_CLIENT_SERVER), ports 5123
// and 5124, timeout 10000 ms.
int32_t ClientLogon(int32_t ClientID, int16_t ClientType, int32_t EventHandle, intptr_t hwnd,
                    int32_t msg);
// Ends the process's logon (the logon is dropped even when the server no longer answers).
// 8 when none is held.
int32_t ClientLogoff(void);

// ---- Every other logon-bound function, one entry per function ----

#define QV_PLAIN_FUNCTION(Name, Params, Args) int32_t Name Params;
#include "outside/qvclient/QVClientPlainList.inc"
#undef QV_PLAIN_FUNCTION

} // extern "C"
