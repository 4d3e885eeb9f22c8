// Helpers of the code tests: protocol fields written in one line, and their encoded timings.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "app/codes/protocol.h"

namespace test_codes {

inline codes::ProtocolFields Fields(const char* protocol, int device, int subdevice, int function,
                                    std::optional<int> toggle = {}) {
    codes::ProtocolFields fields;
    fields.protocol = protocol;
    fields.device = device;
    fields.subdevice = subdevice;
    fields.function = function;
    fields.toggle = toggle;
    return fields;
}

inline codes::IrSignal Encoded(const char* protocol, int device, int subdevice, int function,
                               std::optional<int> toggle = {}) {
    codes::IrSignal signal;
    EXPECT_TRUE(codes::EncodeProtocol(Fields(protocol, device, subdevice, function, toggle), signal)) << protocol;
    return signal;
}

}  // namespace test_codes
