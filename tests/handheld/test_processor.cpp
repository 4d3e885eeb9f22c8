// Processor information from the handheld's profile, and the scheduling of the calling thread.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <cstring>
#include <thread>

#include "handheld/devices.h"
#include "handheld/profile.h"
#include "handheld/system.h"
#include "handheld/text.h"

namespace {

using namespace handheld;

class ProfileScope {
public:
    ProfileScope() : saved_(Profile()) {}
    ~ProfileScope() { SetProfile(saved_); }

private:
    HandheldProfile saved_;
};

TEST(ProcessorInformation, ComesFromTheProfile) {
    ProfileScope scope;
    const struct {
        const char16_t* core;
        const char16_t* name;
        const char16_t* vendor;
    } cases[] = {
        {u"ARM", u"PXA255", u"Intel"},
        {u"ARM", u"SA1110", u"Intel"},
        {u"ARM920T", u"S3C2410", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        HandheldProfile profile;
        profile.processorCore = c.core;
        profile.processorName = c.name;
        SetProfile(profile);
        PROCESSOR_INFO info;
        std::memset(&info, 0xAB, sizeof(info));
        DWORD returned = 0;
        ASSERT_TRUE(KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof(info), &returned));
        EXPECT_EQ(returned, 576u);
        EXPECT_EQ(std::u16string(info.szProcessCore), c.core);
        EXPECT_EQ(std::u16string(info.szProcessorName), c.name);
        EXPECT_EQ(std::u16string(info.szVendor), c.vendor);
        EXPECT_EQ(info.szCatalogNumber[0], 0) << "fields the handheld does not know are zero";
        EXPECT_EQ(info.dwClockSpeed, 0u);
    }
}

TEST(ProcessorInformation, ALongNameIsCutToTheRecordsField) {
    ProfileScope scope;
    HandheldProfile profile;
    profile.processorName = std::u16string(60, u'P');
    SetProfile(profile);
    PROCESSOR_INFO info{};
    ASSERT_TRUE(KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof(info), nullptr));
    EXPECT_EQ(std::u16string(info.szProcessorName), std::u16string(39, u'P'));
    EXPECT_EQ(info.wProcessorRevision, 0) << "the field after the name stays untouched";
}

TEST(ProcessorInformation, FailsHonestlyForSmallBuffersAndOtherRequests) {
    PROCESSOR_INFO info{};
    DWORD returned = 0;
    const struct {
        DWORD code;
        void* out;
        DWORD size;
        DWORD error;
        DWORD returned;
    } cases[] = {
        {IOCTL_PROCESSOR_INFORMATION, &info, sizeof(info) - 1, ERROR_INSUFFICIENT_BUFFER, 576},
        {IOCTL_PROCESSOR_INFORMATION, nullptr, sizeof(info), ERROR_INSUFFICIENT_BUFFER, 576},
        {0x01010000, &info, sizeof(info), ERROR_NOT_SUPPORTED, 0},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        returned = 99;
        EXPECT_FALSE(KernelIoControl(c.code, nullptr, 0, c.out, c.size, &returned)) << c.size;
        EXPECT_EQ(GetLastError(), c.error) << c.size;
        EXPECT_EQ(returned, c.returned) << c.size;
    }
}

class ThreadSchedulingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSchedulingCalls();
        int policy = 0;
        sched_param param{};
        pthread_getschedparam(pthread_self(), &policy, &param);
        hostPolicy_ = policy;
    }
    void TearDown() override {
        CeSetThreadQuantum(GetCurrentThread(), 100);
        CeSetThreadPriority(GetCurrentThread(), 251);
    }
    int hostPolicy_ = 0;
};

TEST_F(ThreadSchedulingTest, StartsNormalAndKeepsWhatIsSet) {
    const HANDLE self = GetCurrentThread();
    EXPECT_EQ(CeGetThreadPriority(self), 251);
    EXPECT_EQ(CeGetThreadQuantum(self), 100u);

    ASSERT_TRUE(CeSetThreadPriority(self, 5));
    ASSERT_TRUE(CeSetThreadQuantum(self, 0));
    EXPECT_EQ(CeGetThreadPriority(self), 5);
    EXPECT_EQ(CeGetThreadQuantum(self), 0u);

    int otherPriority = -1;
    std::thread([&] { otherPriority = CeGetThreadPriority(GetCurrentThread()); }).join();
    EXPECT_EQ(otherPriority, 251) << "each thread has its own values";

    const std::vector<SchedulingCall> calls = SchedulingCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, SchedulingCall::Kind::Priority);
    EXPECT_EQ(calls[0].value, 5);
    EXPECT_EQ(calls[1].kind, SchedulingCall::Kind::Quantum);
    EXPECT_EQ(calls[1].value, 0);
}

TEST_F(ThreadSchedulingTest, RefusesPrioritiesOutsideTheRangeAndOtherThreads) {
    const HANDLE self = GetCurrentThread();
    for (int priority : {-1, 256, 1000}) {
        SetLastError(0);
        EXPECT_FALSE(CeSetThreadPriority(self, priority)) << priority;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << priority;
        EXPECT_EQ(CeGetThreadPriority(self), 251) << priority;
    }
    EXPECT_TRUE(CeSetThreadPriority(self, 0));
    EXPECT_TRUE(CeSetThreadPriority(self, 255));

    const HANDLE notAThread = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(CeSetThreadPriority(notAThread, 5));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CeGetThreadPriority(notAThread), 0x7fffffff);
    EXPECT_EQ(CeGetThreadQuantum(notAThread), 0xffffffffu);
    EXPECT_EQ(CeGetThreadPriority(self), 255);

    const std::vector<SchedulingCall> calls = SchedulingCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_FALSE(calls[0].succeeded);
    EXPECT_TRUE(calls[3].succeeded);
    EXPECT_FALSE(calls[5].succeeded);
}

// The send guard's pattern: real-time band and quantum 0, then back, second value first.
TEST_F(ThreadSchedulingTest, TheHostFollowsIntoTheRealTimeBandAndBack) {
    const HANDLE self = GetCurrentThread();
    ASSERT_TRUE(CeSetThreadPriority(self, 5));
    ASSERT_TRUE(CeSetThreadQuantum(self, 0));
    const ThreadScheduling during = CurrentThreadScheduling();
    int policy = 0;
    sched_param param{};
    pthread_getschedparam(pthread_self(), &policy, &param);
    if (!during.hostRealTime) {
        EXPECT_EQ(policy, hostPolicy_) << "a refused change leaves the host alone";
        GTEST_SKIP() << "the host refuses real-time scheduling here; the values are only recorded";
    }
    EXPECT_EQ(policy, SCHED_FIFO);
    EXPECT_EQ(param.sched_priority, sched_get_priority_max(SCHED_FIFO) - 1);

    ASSERT_TRUE(CeSetThreadPriority(self, 0));
    pthread_getschedparam(pthread_self(), &policy, &param);
    EXPECT_EQ(param.sched_priority, sched_get_priority_max(SCHED_FIFO));

    ASSERT_TRUE(CeSetThreadQuantum(self, 100));
    pthread_getschedparam(pthread_self(), &policy, &param);
    EXPECT_EQ(policy, SCHED_RR) << "a quantum in the real-time band is time-sliced";

    ASSERT_TRUE(CeSetThreadPriority(self, 251));
    EXPECT_FALSE(CurrentThreadScheduling().hostRealTime);
    pthread_getschedparam(pthread_self(), &policy, &param);
    EXPECT_EQ(policy, hostPolicy_);
}

}  // namespace
