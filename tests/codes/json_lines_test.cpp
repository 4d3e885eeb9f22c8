// Signal lines: what "ir learn --from" reads, as a file of named codes.
#include "app/codes/json_lines.h"

#include <gtest/gtest.h>

#include "app/codes/code_list.h"
#include "tests/codes/test_codes.h"

namespace {

using codes::CodeFormat;
using codes::CodeList;

TEST(JsonLines, ReadsTheLearnShapeAndIgnoresOtherMembers) {
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadCodeFile(
        CodeFormat::JsonLines,
        "{\"name\": \"Vol \\u00e9\\\"+\\\"\", \"protocol_hint\": {\"a\": [1, [2, {\"b\": null}]], \"c\": true}, "
        "\"carrier_hz\": 36000, \"durations_us\": [889, -889, 1778], \"repeat\": 2}\r\n"
        "\n"
        "{\"carrier_hz\":38000,\"durations_us\":[9000,-4500,560,-40000,9000,-2250,560],\"repeat_start\":5}\n",
        list, &error))
        << error;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "Vol \xC3\xA9\"+\"");
    EXPECT_EQ(list[0].signal.frequencyHz, 36000);
    EXPECT_EQ(list[0].signal.durationsUs, (std::vector<std::int32_t>{889, -889, 1778}));
    EXPECT_EQ(list[1].name, "Code 2");
    EXPECT_EQ(list[1].signal.repeatStart, 5u);
}

TEST(JsonLines, WrittenLinesReadBackTheSame) {
    const CodeList list{{"Power \"big\"\n", test_codes::Encoded("NEC1", 4, -1, 8)},
                        {"Play", test_codes::Encoded("RC6", 4, -1, 44, 1)}};
    CodeList back;
    std::string error;
    ASSERT_TRUE(codes::ReadCodeFile(CodeFormat::JsonLines, codes::WriteJsonLines(list), back, &error)) << error;
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].name, list[i].name);
        EXPECT_EQ(back[i].signal.frequencyHz, list[i].signal.frequencyHz);
        EXPECT_EQ(back[i].signal.durationsUs, list[i].signal.durationsUs);
        EXPECT_EQ(back[i].signal.repeatStart, list[i].signal.repeatStart);
    }
}

TEST(JsonLines, MalformedLinesRefuseTheFileNamingTheLine) {
    const char* bad[] = {
        "[1, 2]",
        "{\"carrier_hz\": 38000}",
        "{\"durations_us\": [1, -1]}",
        "{\"carrier_hz\": 0, \"durations_us\": [1]}",
        "{\"carrier_hz\": 38000, \"durations_us\": [1, 0, -1]}",
        "{\"carrier_hz\": 38000, \"durations_us\": [1.5]}",
        "{\"carrier_hz\": 38000, \"durations_us\": [99999999999]}",
        "{\"carrier_hz\": 38000, \"durations_us\": []}",
        "{\"carrier_hz\": 38000, \"durations_us\": [1], \"name\": 7}",
        "{\"carrier_hz\": 38000, \"durations_us\": [1]} trailing",
        "{\"carrier_hz\": 38000, \"durations_us\": [1], \"x\": \"unterminated}",
        "{\"carrier_hz\": 38000, \"durations_us\": [1], \"x\": "
        "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]}",
        "{\"carrier_hz\": nan, \"durations_us\": [1]}",
    };
    for (const char* line : bad) {
        CodeList list;
        std::string error;
        const std::string text = std::string("{\"carrier_hz\": 38000, \"durations_us\": [1, -1]}\n") + line;
        EXPECT_FALSE(codes::ReadCodeFile(CodeFormat::JsonLines, text, list, &error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << line << ": " << error;
        EXPECT_TRUE(list.empty());
    }
}

}  // namespace
