// CSocket: the reader of the framed messages that the controller's programs exchange over
// sockets (a 24-byte header, then a body of at most 10240 bytes), and the names of the message
// types. This service opens no connection; the read operation is virtual so that a transport
// (or a test) supplies the bytes.
#pragma once
#include <cstdint>

#include "common/CLog.h"

class CSocket {
  public:
    static constexpr int32_t kHeaderSize = 24;
    static constexpr int32_t kMaxBody = 10240;
    static constexpr int32_t kLengthOffset = 22; // body length, 16-bit little-endian
    static constexpr int32_t kBufferSize = kHeaderSize + kMaxBody;

    // Results of ReadMsg.
    static constexpr int32_t kMsgOk = 0;
    static constexpr int32_t kMsgTooLong = -9;     // the header announces more than kMaxBody
    static constexpr int32_t kMsgReadFailed = -14; // socket closed, or a read failed
    static constexpr int32_t kMsgShortRead = -15;  // a read returned fewer bytes than asked
    static constexpr int32_t kMsgPeerClosed = -16; // the peer closed before the header

    // Read flags.
    static constexpr int32_t kReadHeader = 0;
    static constexpr int32_t kReadBody = 1;

    // Message types, numbered by their place in the name table.
    enum MsgType : int32_t {
        kInvalid,
        kConnect,
        kDisconnect,
        kPing,
        kPong,
        kEvents,
        kShutdown,
        kClose,
        kMsgTypeCount
    };
    // The name logs use for a type; "INVALID" for numbers outside the table.
    static const char* MsgTypeName(int32_t type);

    // Messages go to log, which must outlive the socket.
    explicit CSocket(CLog& log);
    virtual ~CSocket();
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

    // Reads one whole message into msg (at least kBufferSize bytes); a kMsg* result.
    int32_t ReadMsg(uint8_t* msg);

    // Reads up to count bytes (flag kReadHeader or kReadBody): the count read, 0 when the peer
    // has closed, negative on error. Without a transport there is nothing to read: -1.
    virtual int32_t Read(uint8_t* dest, int32_t count, int32_t flag);

    // Where ReadMsg's code lies: a fixed point for locating other code of the build.
    static uintptr_t ReadMsgAddress();

    intptr_t m_socket = -1;     // connection handle, -1 when closed
    uint32_t m_lastMsgTick = 0; // tick count of the last complete message

  protected:
    CLog& m_log; // receives the reader's messages
};
