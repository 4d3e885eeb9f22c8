// Serial ports of the active drivers ("COM3:") and the OBEX service device ("OBX0:").
#pragma once

#include "handheld/types.h"

namespace handheld {

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

// The 28-byte device control record; the flag bits are kept as one word (bit 0 binary mode ... bits 15-31
// dummy) so that code can keep and clear them by mask as the handheld's record allows.
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD flags;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28, "the device control record is 28 bytes");

inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE ONE5STOPBITS = 1;
inline constexpr DWORD SETIR = 10;
inline constexpr DWORD CLRIR = 11;

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL GetCommState(HANDLE port, DCB* state);
BOOL SetCommState(HANDLE port, const DCB* state);
BOOL EscapeCommFunction(HANDLE port, DWORD function);

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inSize, void* outBuffer,
                     DWORD outSize, DWORD* bytesReturned, void* overlapped);

}  // namespace handheld
