#include <pthread.h>
#include <sched.h>

#include <cstdint>
#include <cstring>
#include <mutex>

#include "handheld/devices.h"
#include "handheld/system.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr char kChannel[] = "scheduling";

constexpr int kHighestPriority = 0;
constexpr int kLowestPriority = 255;
// Priorities above this one form the handheld's real-time band; the rest run time-shared.
constexpr int kLastRealTimePriority = 247;
constexpr int kNormalPriority = 251;
constexpr DWORD kNormalQuantumMs = 100;
// What CeGetThreadPriority and CeGetThreadQuantum return for a bad handle.
constexpr int kPriorityErrorReturn = 0x7fffffff;
constexpr DWORD kQuantumErrorReturn = 0xffffffff;

// The handheld's current-thread pseudo-handle: a value no object ever has.
HANDLE const kCurrentThread = reinterpret_cast<HANDLE>(~std::uintptr_t{1});

struct ThreadRecord {
    int priority = kNormalPriority;
    DWORD quantumMs = kNormalQuantumMs;
    bool hostRealTime = false;
    int appliedPolicy = 0;
    int appliedHostPriority = 0;
    int savedPolicy = 0;  // the host scheduling before the thread entered the real-time band
    sched_param savedParam{};
};

thread_local ThreadRecord tRecord;

struct SchedulingLog {
    std::mutex mutex;
    std::vector<SchedulingCall> calls;
};

SchedulingLog& Log() {
    static SchedulingLog* log = new SchedulingLog;
    return *log;
}

void Record(SchedulingCall::Kind kind, long long value, bool succeeded) {
    SchedulingLog& log = Log();
    std::lock_guard lock(log.mutex);
    if (log.calls.size() >= kLogCapacity) log.calls.erase(log.calls.begin());
    log.calls.push_back(SchedulingCall{kind, value, succeeded});
}

// Handheld priority 0 (highest) ... 247 onto the host's real-time priorities 99 ... 1.
int HostRealTimePriority(int priority) {
    const int highest = sched_get_priority_max(SCHED_FIFO);
    const int lowest = sched_get_priority_min(SCHED_FIFO);
    return highest - priority * (highest - lowest) / kLastRealTimePriority;
}

// Brings the host thread in line with the handheld values: real-time band -> first-in-first-out (quantum 0,
// run to completion) or round-robin; normal band -> whatever the thread had before.
void ApplyToHost(ThreadRecord& record) {
    const pthread_t self = pthread_self();
    if (record.priority > kLastRealTimePriority) {
        if (!record.hostRealTime) return;
        const int error = pthread_setschedparam(self, record.savedPolicy, &record.savedParam);
        if (error != 0) HH_TRACE(kChannel, "host scheduling not restored: %s", std::strerror(error));
        record.hostRealTime = false;
        return;
    }
    const int policy = record.quantumMs == 0 ? SCHED_FIFO : SCHED_RR;
    const int hostPriority = HostRealTimePriority(record.priority);
    if (record.hostRealTime && record.appliedPolicy == policy && record.appliedHostPriority == hostPriority) return;
    if (!record.hostRealTime) pthread_getschedparam(self, &record.savedPolicy, &record.savedParam);
    sched_param param{};
    param.sched_priority = hostPriority;
    const int error = pthread_setschedparam(self, policy, &param);
    if (error != 0) {
        HH_TRACE(kChannel, "host refused real-time scheduling (%s); priority %d kept as a record only",
                 std::strerror(error), record.priority);
        return;  // an earlier real-time setting, if any, stays in force and is restored later
    }
    record.hostRealTime = true;
    record.appliedPolicy = policy;
    record.appliedHostPriority = hostPriority;
    if (policy == SCHED_RR) HH_TRACE(kChannel, "quantum %u ms: the host's round-robin slice is used", record.quantumMs);
}

bool IsCurrentThread(HANDLE thread, const char* call) {
    if (thread == kCurrentThread) return true;
    HH_TRACE(kChannel, "%s: only the calling thread's pseudo-handle is supported", call);
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

}  // namespace

HANDLE GetCurrentThread() {
    return kCurrentThread;
}

int CeGetThreadPriority(HANDLE thread) {
    if (!IsCurrentThread(thread, "CeGetThreadPriority")) return kPriorityErrorReturn;
    return tRecord.priority;
}

BOOL CeSetThreadPriority(HANDLE thread, int priority) {
    if (!IsCurrentThread(thread, "CeSetThreadPriority")) {
        Record(SchedulingCall::Kind::Priority, priority, false);
        return FALSE;
    }
    if (priority < kHighestPriority || priority > kLowestPriority) {
        HH_TRACE(kChannel, "CeSetThreadPriority %d: outside 0 ... 255", priority);
        Record(SchedulingCall::Kind::Priority, priority, false);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    tRecord.priority = priority;
    ApplyToHost(tRecord);
    HH_TRACE(kChannel, "priority %d", priority);
    Record(SchedulingCall::Kind::Priority, priority, true);
    return TRUE;
}

DWORD CeGetThreadQuantum(HANDLE thread) {
    if (!IsCurrentThread(thread, "CeGetThreadQuantum")) return kQuantumErrorReturn;
    return tRecord.quantumMs;
}

BOOL CeSetThreadQuantum(HANDLE thread, DWORD quantumMs) {
    if (!IsCurrentThread(thread, "CeSetThreadQuantum")) {
        Record(SchedulingCall::Kind::Quantum, quantumMs, false);
        return FALSE;
    }
    tRecord.quantumMs = quantumMs;
    ApplyToHost(tRecord);
    HH_TRACE(kChannel, "quantum %u ms", quantumMs);
    Record(SchedulingCall::Kind::Quantum, quantumMs, true);
    return TRUE;
}

ThreadScheduling CurrentThreadScheduling() {
    return ThreadScheduling{tRecord.priority, tRecord.quantumMs, tRecord.hostRealTime};
}

std::vector<SchedulingCall> SchedulingCalls() {
    SchedulingLog& log = Log();
    std::lock_guard lock(log.mutex);
    return log.calls;
}

void ClearSchedulingCalls() {
    SchedulingLog& log = Log();
    std::lock_guard lock(log.mutex);
    log.calls.clear();
}

}  // namespace handheld
