// QVSetTCPIP: the board's network configuration library. The settings live in the profile
// "\Windows\QVNetwork.ini" (section Network: BoardName, DHCP, IP, SubnetMask, Gateway, DNS,
// TFTP). A set validates every value first (dotted IPv4 addresses, a contiguous subnet mask,
// a board name of 1 to 15 letters, digits and hyphens) and, when all are sound, replaces the
// file in one step (written beside it, then renamed), so a failed or interrupted set changes
// nothing. Strings are BSTRs (platform/OleAuto.h): a get frees the string it is given and
// stores a new one, which the caller frees.
// For tests, "\Windows\QVNetwork.fail" holding a number N makes the next N calls fail.
#pragma once
#include <cstdint>

#include "platform/OleAuto.h"

extern "C" {

// The board's settings into the six strings and the DHCP flag (0 off, 1 on). Non-zero on
// success; 0 when a pointer is null or the settings cannot be read.
int32_t GetIPConfig(BSTR* ip, BSTR* subnetMask, BSTR* tftp, int16_t* dhcp, BSTR* dns,
                    BSTR* gateway);
// The board's name; its length (greater than 0) on success, 0 on failure.
int32_t GetBoardName(BSTR* name);
// Writes the settings (the gateway is kept). With DHCP on, an empty IP address and mask are
// accepted; empty DNS and TFTP addresses always are. Non-zero on success, 0 when a value does
// not parse or the file cannot be written (the file is then unchanged).
int32_t SetIPConfig(BSTR ip, BSTR subnetMask, BSTR tftp, int16_t dhcp, BSTR dns);
// Sets the board's name; its length on success, 0 when it is not a valid name.
int32_t SetBoardName(BSTR name);
}
