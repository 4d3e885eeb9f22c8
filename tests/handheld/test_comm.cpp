// Serial ports of the active drivers and the OBEX service device, opened through CreateFileW.
#include <gtest/gtest.h>

#include <cstring>

#include "handheld/comm.h"
#include "handheld/devices.h"
#include "handheld/files.h"
#include "handheld/os/src/device_files.h"
#include "handheld/registry.h"

namespace {

using namespace handheld;

HANDLE Open(const char16_t* name) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A device handle that closes itself.
class Device {
public:
    explicit Device(const char16_t* name)
        : handle_(Open(name)), error_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0) {}
    ~Device() { Close(); }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    HANDLE get() const { return handle_; }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }
    void Close() {
        if (ok()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
    DWORD error_;
};

class DeviceFiles : public ::testing::Test {
protected:
    void SetUp() override {
        LoadRegistryText(DefaultRegistryText());
        ResetSerialPorts();
        ResetObexService();
        // The serial cases use the IrDA port COM3:, which the running OBEX service would hold.
        SetObexServiceRunning(false);
    }
};

TEST(DeviceNames, HaveThreeLettersADigitAndAColon) {
    const struct {
        const char16_t* name;
        bool device;
    } cases[] = {{u"COM3:", true}, {u"com3:", true}, {u"OBX0:", true},  {u"TCH1:", true},    {u"COM10:", false},
                 {u"COM3", false}, {u"CO3:", false}, {u"C0M3:", false}, {u"\\COM3:", false}, {u"", false}};
    for (const auto& c : cases) EXPECT_EQ(detail::IsDeviceName(c.name), c.device) << static_cast<int>(c.name[0]);
}

TEST_F(DeviceFiles, OpenOnlyThePortsOfActiveDrivers) {
    const struct {
        const char16_t* name;
        DWORD error;  // 0: opens
    } cases[] = {
        {u"COM1:", 0},
        {u"com3:", 0},
        {u"COM2:", 0},
        {u"COM5:", 0},  // active, even though its driver key is missing
        {u"COM4:", ERROR_FILE_NOT_FOUND},
        {u"COM9:", ERROR_FILE_NOT_FOUND},
        {u"TCH1:", ERROR_NOT_SUPPORTED},  // active, but not a device the handheld simulates
    };
    for (const auto& c : cases) {
        Device device(c.name);
        EXPECT_EQ(device.ok(), c.error == 0) << static_cast<char>(c.name[3]);
        EXPECT_EQ(device.error(), c.error) << static_cast<char>(c.name[3]);
    }
}

TEST_F(DeviceFiles, APortIsNotShared) {
    Device first(u"COM3:");
    ASSERT_TRUE(first.ok());
    Device second(u"com3:");
    EXPECT_FALSE(second.ok());
    EXPECT_EQ(second.error(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(InspectSerialPort(u"COM3:")->open);

    first.Close();
    EXPECT_FALSE(InspectSerialPort(u"COM3:")->open);
    Device third(u"COM3:");
    EXPECT_TRUE(third.ok());
    EXPECT_EQ(InspectSerialPort(u"COM3:")->openCount, 2);
}

// The IR port as the driver uses it: settings changed while open are kept after closing and found again.
TEST_F(DeviceFiles, SettingsPersistAcrossOpensAndCanBeInspected) {
    const COMMTIMEOUTS immediate{0xFFFFFFFF, 0, 0, 0, 0};
    {
        Device port(u"COM3:");
        ASSERT_TRUE(port.ok());
        ASSERT_TRUE(SetCommTimeouts(port.get(), &immediate));
        DCB state{};
        ASSERT_TRUE(GetCommState(port.get(), &state));
        state.BaudRate = 256000;
        state.StopBits = ONE5STOPBITS;
        state.flags = DCB_fBinary | DCB_fTXContinueOnXoff;
        ASSERT_TRUE(SetCommState(port.get(), &state));
        ASSERT_TRUE(EscapeCommFunction(port.get(), SETIR));
        EXPECT_TRUE(InspectSerialPort(u"COM3:")->irMode);
    }
    const std::optional<SerialPortInfo> info = InspectSerialPort(u"com3:");
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->open);
    EXPECT_TRUE(info->irMode) << "the port was closed without clearing IR mode";
    EXPECT_EQ(info->state.BaudRate, 256000u);
    EXPECT_EQ(info->state.StopBits, ONE5STOPBITS);
    EXPECT_EQ(info->state.flags, DCB_fBinary | DCB_fTXContinueOnXoff);
    EXPECT_EQ(info->timeouts.ReadIntervalTimeout, 0xFFFFFFFFu);
    ASSERT_EQ(info->escapeCalls.size(), 1u);
    EXPECT_EQ(info->escapeCalls[0].function, SETIR);

    Device again(u"COM3:");
    COMMTIMEOUTS found{};
    ASSERT_TRUE(GetCommTimeouts(again.get(), &found));
    EXPECT_EQ(std::memcmp(&found, &immediate, sizeof(found)), 0);
    EXPECT_FALSE(InspectSerialPort(u"COM1:").has_value()) << "a port never opened has no state";

    ResetSerialPorts();
    const std::optional<SerialPortInfo> reset = InspectSerialPort(u"COM3:");
    EXPECT_TRUE(reset->open) << "an open port stays open through a reset";
    EXPECT_FALSE(reset->irMode);
    EXPECT_EQ(reset->state.BaudRate, 9600u);
    EXPECT_TRUE(reset->escapeCalls.empty());
}

TEST_F(DeviceFiles, EscapeFunctionsSwitchIrModeAndRefuseUnknownCodes) {
    Device port(u"COM3:");
    ASSERT_TRUE(port.ok());
    const struct {
        DWORD function;
        bool succeeds;
        bool irModeAfter;
    } steps[] = {{SETIR, true, true}, {SETIR, true, true}, {99, false, true}, {CLRIR, true, false}, {0, false, false}};
    for (const auto& step : steps) {
        SetLastError(0);
        EXPECT_EQ(EscapeCommFunction(port.get(), step.function) != FALSE, step.succeeds) << step.function;
        if (!step.succeeds) {
            EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED) << step.function;
        }
        EXPECT_EQ(InspectSerialPort(u"COM3:")->irMode, step.irModeAfter) << step.function;
    }
    const std::vector<EscapeCall> log = InspectSerialPort(u"COM3:")->escapeCalls;
    ASSERT_EQ(log.size(), std::size(steps));
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].function, steps[i].function);
        EXPECT_EQ(log[i].succeeded, steps[i].succeeds);
    }
}

TEST_F(DeviceFiles, ARecordThePortCannotRunWithIsRefusedAndChangesNothing) {
    Device port(u"COM1:");
    DCB good{};
    ASSERT_TRUE(GetCommState(port.get(), &good));
    const struct {
        const char* what;
        void (*spoil)(DCB&);
    } cases[] = {
        {"no baud rate", [](DCB& d) { d.BaudRate = 0; }},   {"nine data bits", [](DCB& d) { d.ByteSize = 9; }},
        {"four data bits", [](DCB& d) { d.ByteSize = 4; }}, {"parity code 5", [](DCB& d) { d.Parity = 5; }},
        {"stop code 3", [](DCB& d) { d.StopBits = 3; }},
    };
    for (const auto& c : cases) {
        DCB bad = good;
        bad.BaudRate = 115200;
        c.spoil(bad);
        EXPECT_FALSE(SetCommState(port.get(), &bad)) << c.what;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << c.what;
        EXPECT_EQ(InspectSerialPort(u"COM1:")->state.BaudRate, 9600u) << c.what;
    }
    EXPECT_FALSE(SetCommState(port.get(), nullptr));
    EXPECT_FALSE(GetCommTimeouts(port.get(), nullptr));
}

TEST_F(DeviceFiles, CallsOnAHandleThatIsNoPortFail) {
    DCB state{};
    COMMTIMEOUTS timeouts{};
    const HANDLE notPorts[] = {nullptr, INVALID_HANDLE_VALUE};
    for (HANDLE handle : notPorts) {
        SetLastError(0);
        EXPECT_FALSE(GetCommState(handle, &state));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(SetCommTimeouts(handle, &timeouts));
        EXPECT_FALSE(EscapeCommFunction(handle, SETIR));
    }
    Device obex(u"OBX0:");
    ASSERT_TRUE(obex.ok());
    EXPECT_FALSE(GetCommState(obex.get(), &state)) << "the OBEX device is not a serial port";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(DeviceFiles, ObexServiceAnswersStatusStartAndStop) {
    const auto control = [](DWORD code, void* out, DWORD outSize, DWORD* returned) {
        Device obex(u"OBX0:");
        EXPECT_TRUE(obex.ok());
        return DeviceIoControl(obex.get(), code, nullptr, 0, out, outSize, returned, nullptr) != FALSE;
    };
    DWORD status = 0;
    DWORD returned = 0;
    ResetObexService();
    EXPECT_TRUE(ObexServiceRunning()) << "running by default";
    EXPECT_TRUE(control(IOCTL_OBEX_STATUS, &status, sizeof(status), &returned));
    EXPECT_EQ(returned, 4u);

    EXPECT_TRUE(control(IOCTL_OBEX_STOP, nullptr, 0, nullptr));
    EXPECT_FALSE(ObexServiceRunning());
    EXPECT_FALSE(control(IOCTL_OBEX_STATUS, &status, sizeof(status), &returned));
    EXPECT_EQ(returned, 0u);

    EXPECT_TRUE(control(IOCTL_OBEX_START, nullptr, 0, nullptr));
    EXPECT_TRUE(ObexServiceRunning());
    WORD small = 0;
    EXPECT_FALSE(control(IOCTL_OBEX_STATUS, &small, sizeof(small), &returned));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(control(0x01040010, nullptr, 0, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);

    EXPECT_EQ(ObexControlCodes(), (std::vector<DWORD>{IOCTL_OBEX_STATUS, IOCTL_OBEX_STOP, IOCTL_OBEX_STATUS,
                                                      IOCTL_OBEX_START, IOCTL_OBEX_STATUS, 0x01040010}));
}

TEST_F(DeviceFiles, TheRunningObexServiceHoldsTheIrdaPort) {
    SetObexServiceRunning(true);
    EXPECT_EQ(ObexHeldPort(), u"COM3:");
    {
        Device held(u"com3:");
        EXPECT_FALSE(held.ok());
        EXPECT_EQ(held.error(), ERROR_SHARING_VIOLATION);
        EXPECT_TRUE(Device(u"COM2:").ok()) << "the infrared port of IrCOMM is not the service's";
    }
    SetObexServiceRunning(false);
    EXPECT_EQ(ObexHeldPort(), u"");
    EXPECT_TRUE(Device(u"COM3:").ok());
    SetObexServiceRunning(true);
    SetObexServicePresent(false);
    EXPECT_EQ(ObexHeldPort(), u"") << "an absent service holds nothing";
    EXPECT_TRUE(Device(u"COM3:").ok());
    SetObexServicePresent(true);

    // Without an IrDA driver the service holds no port.
    LoadRegistryText(
        "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Drivers\\Active\\01]\n\"Name\"=\"COM3:\"\n"
        "\"Key\"=\"Drivers\\\\Plain\"\n\n[HKEY_LOCAL_MACHINE\\Drivers\\Plain]\n\"FriendlyName\"=\"Serial\"\n");
    SetObexServiceRunning(true);
    EXPECT_EQ(ObexHeldPort(), u"");
    EXPECT_TRUE(Device(u"COM3:").ok());
}

TEST_F(DeviceFiles, AnAbsentObexServiceCannotBeOpened) {
    SetObexServicePresent(false);
    Device obex(u"OBX0:");
    EXPECT_FALSE(obex.ok());
    EXPECT_EQ(obex.error(), ERROR_FILE_NOT_FOUND);
    SetObexServicePresent(true);
    EXPECT_TRUE(Device(u"obx0:").ok());
}

TEST_F(DeviceFiles, ControlRequestsOnASerialPortAreNotSupported) {
    Device port(u"COM3:");
    ASSERT_TRUE(port.ok());
    EXPECT_FALSE(DeviceIoControl(port.get(), IOCTL_OBEX_STATUS, nullptr, 0, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_TRUE(ObexControlCodes().empty());
    EXPECT_FALSE(DeviceIoControl(INVALID_HANDLE_VALUE, IOCTL_OBEX_STATUS, nullptr, 0, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(DeviceFiles, DevicesOpenButAreNeverCreated) {
    const HANDLE created = CreateFileW(u"COM3:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_EQ(created, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(InspectSerialPort(u"COM3:").has_value());
}

}  // namespace
