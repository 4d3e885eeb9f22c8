// Serial ports of the active drivers ("COM3:") and the OBEX service device ("OBX0:").
#pragma once

#include <functional>
#include <string>

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

// Bits of DCB::flags.
inline constexpr DWORD DCB_fBinary = 1u << 0;
inline constexpr DWORD DCB_DtrControlEnable = 1u << 4;  // fDtrControl, bits 4-5
inline constexpr DWORD DCB_fTXContinueOnXoff = 1u << 7;
inline constexpr DWORD DCB_RtsControlEnable = 1u << 12;  // fRtsControl, bits 12-13

inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE SPACEPARITY = 4;
inline constexpr BYTE ONESTOPBIT = 0;
inline constexpr BYTE ONE5STOPBITS = 1;
inline constexpr BYTE TWOSTOPBITS = 2;

// EscapeCommFunction: raw infrared mode on and off. The simulated ports also keep RTS (3, 4), DTR (5, 6)
// and break (8, 9); other functions fail with ERROR_NOT_SUPPORTED.
inline constexpr DWORD SETIR = 10;
inline constexpr DWORD CLRIR = 11;

// Control codes of the OBEX service device "OBX0:". Status succeeds (4-byte output) only while the
// service runs; start and stop succeed in either state.
inline constexpr DWORD IOCTL_OBEX_START = 0x01040004;
inline constexpr DWORD IOCTL_OBEX_STOP = 0x01040008;
inline constexpr DWORD IOCTL_OBEX_STATUS = 0x01040020;
inline constexpr DWORD ERROR_SERVICE_NOT_ACTIVE = 1062;

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL GetCommState(HANDLE port, DCB* state);
BOOL SetCommState(HANDLE port, const DCB* state);
BOOL EscapeCommFunction(HANDLE port, DWORD function);

// One active COM driver of HKEY_LOCAL_MACHINE "Drivers\Active".
struct ActiveComDriver {
    std::u16string name;          // its "Name", such as "COM3:"
    std::u16string friendlyName;  // its driver key's "FriendlyName", else that of the key's first subkey, else ""
};
// How long a subkey name (characters) and a string value (bytes) may be; a driver with a longer one is skipped.
struct ActiveDriverLimits {
    DWORD subkeyNameChars;
    DWORD valueBytes;
};
// Visits the active drivers in index order whose "Name" begins with "COM" and whose "Key" names a driver key
// that opens; visit returns false to end the walk. False when "Drivers\Active" cannot be opened.
bool ForEachActiveComDriver(const ActiveDriverLimits& limits, const std::function<bool(const ActiveComDriver&)>& visit);

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inSize, void* outBuffer, DWORD outSize,
                     DWORD* bytesReturned, void* overlapped);

}  // namespace handheld
