// Processor information, physical register mapping, thread scheduling and time.
#pragma once

#include "handheld/types.h"

namespace handheld {

// KernelIoControl's processor-information request and its 576-byte record.
inline constexpr DWORD IOCTL_PROCESSOR_INFORMATION = 0x01010064;
struct PROCESSOR_INFO {
    WORD wVersion;
    WCHAR szProcessCore[40];
    WORD wCoreRevision;
    WCHAR szProcessorName[40];
    WORD wProcessorRevision;
    WCHAR szCatalogNumber[100];
    WCHAR szVendor[100];
    DWORD dwInstructionSet;
    DWORD dwClockSpeed;
};
static_assert(sizeof(PROCESSOR_INFO) == 576, "the processor-information record is 576 bytes");

BOOL KernelIoControl(DWORD ioControlCode, void* inBuffer, DWORD inSize, void* outBuffer, DWORD outSize,
                     DWORD* bytesReturned);

// Physical page mapping. VirtualCopy takes the physical address divided by 256 when PAGE_PHYSICAL is given.
inline constexpr DWORD MEM_RESERVE = 0x2000;
inline constexpr DWORD MEM_RELEASE = 0x8000;
inline constexpr DWORD PAGE_NOACCESS = 0x01;
inline constexpr DWORD PAGE_READWRITE = 0x04;
inline constexpr DWORD PAGE_NOCACHE = 0x200;
inline constexpr DWORD PAGE_PHYSICAL = 0x400;
void* VirtualAlloc(void* address, DWORD size, DWORD allocationType, DWORD protect);
BOOL VirtualCopy(void* destination, void* source, DWORD size, DWORD protect);
BOOL VirtualFree(void* address, DWORD size, DWORD freeType);

// Thread scheduling of the calling thread (GetCurrentThread's pseudo-handle).
HANDLE GetCurrentThread();
int CeGetThreadPriority(HANDLE thread);
BOOL CeSetThreadPriority(HANDLE thread, int priority);
DWORD CeGetThreadQuantum(HANDLE thread);
BOOL CeSetThreadQuantum(HANDLE thread, DWORD quantumMs);

// Time. In the virtual clock (profile or SetTimerClock) Sleep advances time instead of waiting.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();

}  // namespace handheld
