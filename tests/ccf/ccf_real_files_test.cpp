// Real CCF files made by other people (../shared/testdata/ccf, never part of the project): what the reader
// decodes from them, value by value, and that no cut of them trips the reader.
#include <gtest/gtest.h>

#include <string>

#include "tests/ccf/ccf_test_util.h"
#include "tests/support/test_home.h"

using namespace ccf_test;

namespace {

constexpr const char* kSkylight = "skylight-mono.ccf";
constexpr const char* kGallery = "gallery-mono.ccf";

// The bytes of a shared file; empty when the folder or the file is not there.
std::vector<std::uint8_t> ReadShared(const char* name) {
    const auto folder = orvane_test::SharedTestData();
    if (folder.empty() || !std::filesystem::exists(folder / "ccf" / name)) return {};
    return ReadHostFile(folder / "ccf" / name);
}

std::string Missing(const char* name) {
    return std::string("real CCF file ../shared/testdata/ccf/") + name + " not present: test skipped";
}

std::vector<std::string> ListNames(const CCFDevice& device) {
    std::vector<std::string> names;
    for (auto* list : Collect<CCFActionList>(device.CreateActionListIterator())) names.push_back(list->name);
    return names;
}

const CCFButton* ButtonNamed(const CCFPanel& panel, std::string_view name) {
    for (auto* item : Collect<CCFPanelItem>(panel.CreateItemIterator())) {
        if (item->button && item->button->name == name) return item->button.get();
    }
    return nullptr;
}

const CCFFrame* FrameNamed(const CCFPanel& panel, std::string_view name) {
    for (auto* item : Collect<CCFPanelItem>(panel.CreateItemIterator())) {
        if (item->frame && item->frame->name == name) return item->frame.get();
    }
    return nullptr;
}

std::uint64_t PixelSum(CCFImage* image) {
    WalkCounts counts;
    WalkImage(image, counts);
    return counts.pixelSum;
}

// The IR code of a list's action at index, converted for the driver (count 0 when it cannot be sent).
struct SentCode {
    const CCFIRCode* code = nullptr;
    IrCode ir{};
};
SentCode CodeAt(const CCFActionList& list, std::size_t index) {
    SentCode sent;
    const auto* action = dynamic_cast<const CCFIRCodeAction*>(list.actionSlots.at(index).get());
    if (action == nullptr || !action->code || !action->code->GetLearnedCode()) return sent;
    sent.code = action->code.get();
    if (!ConvertCCFLearnedCode(*sent.code->GetLearnedCode(), sent.ir)) sent.ir.count = 0;
    return sent;
}

// Both files are sound monochrome files with bit 17 set.
class CCFRealFiles : public ::testing::Test {
protected:
    // Skips the test, on one line, when the file is not there.
    void LoadShared(const char* name) {
        const std::vector<std::uint8_t> bytes = ReadShared(name);
        if (bytes.empty()) GTEST_SKIP() << Missing(name);
        loaded = Load(bytes);
        EXPECT_EQ(loaded.file->attributes, 0x00020001u);
        EXPECT_FALSE(loaded.file->IsColor());
        EXPECT_EQ(loaded.stats.outsideFile, 0u);
        EXPECT_EQ(loaded.stats.cycles, 0u);
    }
    Loaded loaded;
};

TEST_F(CCFRealFiles, SkylightDevicesListsAndCodes) {
    LoadShared(kSkylight);
    if (IsSkipped()) return;
    std::vector<int> chains;
    const auto devices = Devices(*loaded.file, &chains);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(chains, (std::vector<int>{1, 2}));
    EXPECT_EQ(devices[0]->name, "HOME");
    EXPECT_EQ(devices[1]->name, "Skylight");

    // The home group's labelled key 1 and the five fixed keys; no "[Action]" list.
    const CCFDevice& home = *devices[0];
    EXPECT_EQ(ListNames(home), (std::vector<std::string>{"All Off", "[Volume -]", "[Volume +]", "[Channel -]",
                                                         "[Channel +]", "[Mute]"}));
    EXPECT_EQ(home.labels[0], "All Off");
    // "All Off": wait 300 ms, send an RC5 code of 16 repeat pairs at 40244 Hz, wait 300 ms.
    const CCFActionList& allOff = *home.actionLists[kListKey1];
    ASSERT_EQ(allOff.actionSlots.size(), 3u);
    EXPECT_EQ(allOff.actionSlots[0]->type, 4);
    EXPECT_EQ(allOff.actionSlots[0]->p2, 300u);
    EXPECT_EQ(allOff.actionSlots[2]->p2, 300u);
    const SentCode rc5 = CodeAt(allOff, 1);
    ASSERT_NE(rc5.code, nullptr);
    EXPECT_EQ(rc5.code->name, "RC5 0 0");
    const CCFLearnedCode& rc5Learned = *rc5.code->GetLearnedCode();
    EXPECT_EQ(rc5Learned.divisor, 103);
    EXPECT_EQ(rc5Learned.GetFrequency(), 40244);
    EXPECT_EQ(rc5Learned.once.size(), 0u);
    ASSERT_EQ(rc5Learned.repeat.size(), 16u);
    EXPECT_EQ(rc5Learned.repeat[0].on, 96);
    EXPECT_EQ(rc5Learned.repeat[0].off, 25);
    EXPECT_EQ(rc5.ir.carrier, 24);
    EXPECT_EQ(rc5.ir.count, 32);
    EXPECT_EQ(rc5.ir.repeatStart, 0);  // repeat pairs only
    EXPECT_EQ(rc5.ir.durations[0], 2304);
    EXPECT_EQ(rc5.ir.durations[1], -600);
    EXPECT_EQ(rc5.ir.durations[31], -20232);

    // The one code with once pairs: 24 once and 48 repeat pairs at 32132 Hz.
    const auto panels = Collect<CCFPanel>(devices[1]->CreatePanelIterator());
    ASSERT_EQ(panels.size(), 2u);
    const CCFButton* manual = ButtonNamed(*panels[0], "M3 Down Manual");
    ASSERT_NE(manual, nullptr);
    ASSERT_TRUE(manual->actions);
    EXPECT_EQ(manual->actions->name, "M3 Down Manual");
    const SentCode both = CodeAt(*manual->actions, 0);
    ASSERT_NE(both.code, nullptr);
    EXPECT_EQ(both.code->name, "Learned");
    EXPECT_EQ(both.code->GetLearnedCode()->divisor, 129);
    EXPECT_EQ(both.code->GetLearnedCode()->GetFrequency(), 32132);
    EXPECT_EQ(both.code->GetLearnedCode()->once.size(), 24u);
    EXPECT_EQ(both.code->GetLearnedCode()->repeat.size(), 48u);
    EXPECT_EQ(both.ir.carrier, 31);
    EXPECT_EQ(both.ir.count, 144);
    EXPECT_EQ(both.ir.repeatStart, 48);
    EXPECT_EQ(both.ir.durations[0], 1209);
    EXPECT_EQ(both.ir.durations[1], -403);
    EXPECT_EQ(both.ir.durations[143], -143437);
    // The same button on the second panel is a record of its own, with a code of repeat pairs only.
    const CCFButton* manualAll = ButtonNamed(*panels[1], "M3 Down Manual");
    ASSERT_TRUE(manualAll && manualAll->actions);
    EXPECT_NE(manualAll->recordOffset, manual->recordOffset);
    const SentCode repeatOnly = CodeAt(*manualAll->actions, 0);
    EXPECT_EQ(repeatOnly.ir.count, 96);
    EXPECT_EQ(repeatOnly.ir.repeatStart, 0);
    EXPECT_EQ(repeatOnly.ir.durations[95], -144243);
}

TEST_F(CCFRealFiles, SkylightPanelsButtonsAndImages) {
    LoadShared(kSkylight);
    if (IsSkipped()) return;
    const auto panels = Collect<CCFPanel>(loaded.file->chains[1]->CreatePanelIterator());
    ASSERT_EQ(panels.size(), 2u);
    for (const CCFPanel* panel : panels) {
        EXPECT_EQ(panel->hidden, 0);
        EXPECT_EQ(Collect<CCFPanelItem>(panel->CreateItemIterator()).size(), 20u);
    }

    // The first item: a caption frame without an image.
    const CCFPanelItem& first = *panels[0]->items[0];
    EXPECT_EQ(first.x, 69);
    EXPECT_EQ(first.y, 1);
    ASSERT_TRUE(first.frame);
    EXPECT_EQ(first.frame->name, "Skylight");
    EXPECT_EQ(first.frame->width, 170);
    EXPECT_EQ(first.frame->height, 19);
    EXPECT_EQ(first.frame->font, 1);
    EXPECT_EQ(first.frame->image, nullptr);
    EXPECT_EQ(first.frame->colors->c, (std::array<std::uint8_t, 4>{3, 0, 0, 0}));

    // "Remotes": states 0 and 2 share one bitmap record, states 1 and 3 another.
    const CCFPanelItem& second = *panels[0]->items[1];
    EXPECT_EQ(second.x, 1);
    EXPECT_EQ(second.y, 1);
    ASSERT_TRUE(second.button);
    const CCFButton& remotes = *second.button;
    EXPECT_EQ(remotes.name, "Remotes");
    EXPECT_EQ(remotes.width, 70);
    EXPECT_EQ(remotes.height, 19);
    EXPECT_EQ(remotes.font, 0);
    EXPECT_EQ(remotes.colors[0]->c, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(remotes.colors[1]->c, (std::array<std::uint8_t, 4>{3, 0, 0, 0}));
    for (int state = 0; state < 4; ++state) {
        CCFImage* image = remotes.images[state].get();
        ASSERT_NE(image, nullptr) << state;
        EXPECT_EQ(image->ColorCount(), 4) << state;
        EXPECT_EQ(image->width, 70) << state;
        EXPECT_EQ(image->height, 19) << state;
        EXPECT_EQ(image->recordOffset, state % 2 == 0 ? 74u : 424u) << state;
        EXPECT_EQ(PixelSum(image), state % 2 == 0 ? 681u : 359u) << state;
    }

    const CCFFrame* motor = FrameNamed(*panels[0], "Motor 1");
    ASSERT_TRUE(motor && motor->image);
    EXPECT_EQ(motor->colors->c, (std::array<std::uint8_t, 4>{0, 2, 2, 2}));
    EXPECT_EQ(motor->image->width, 87);
    EXPECT_EQ(PixelSum(motor->image.get()), 4252u);

    // A caption in the file's code page: byte 0x86 is the dagger.
    const CCFButton* m1 = ButtonNamed(*panels[0], "m1\x86");
    ASSERT_NE(m1, nullptr);
    EXPECT_EQ(CCFWiden(m1->name), u"m1\u2020");
    EXPECT_EQ(m1->width, 37);
    EXPECT_EQ(m1->height, 25);
    EXPECT_EQ(m1->colors[3]->c, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(PixelSum(m1->images[0].get()), 1155u);
    EXPECT_EQ(PixelSum(m1->images[1].get()), 2045u);
}

TEST_F(CCFRealFiles, GalleryHomeGroupAndItsButton) {
    LoadShared(kGallery);
    if (IsSkipped()) return;
    std::vector<int> chains;
    const auto devices = Devices(*loaded.file, &chains);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(chains, std::vector<int>{1});
    const CCFDevice& buttons = *devices[0];
    EXPECT_EQ(buttons.name, "buttons");
    EXPECT_EQ(ListNames(buttons), (std::vector<std::string>{"Home", "Aspect", "[Volume -]", "[Volume +]", "[Channel -]",
                                                            "[Channel +]", "[Mute]"}));
    for (auto* list : Collect<CCFActionList>(buttons.CreateActionListIterator())) EXPECT_EQ(list->count, 0);

    const auto panels = Collect<CCFPanel>(buttons.CreatePanelIterator());
    ASSERT_EQ(panels.size(), 1u);
    const auto items = Collect<CCFPanelItem>(panels[0]->CreateItemIterator());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->x, 5);
    EXPECT_EQ(items[0]->y, 5);
    ASSERT_TRUE(items[0]->button);
    const CCFButton& button = *items[0]->button;
    EXPECT_EQ(button.name, "Button");
    EXPECT_EQ(button.width, 105);
    EXPECT_EQ(button.height, 35);
    EXPECT_EQ(button.font, 3);
    EXPECT_EQ(button.actions, nullptr);
    const std::array<std::array<std::uint8_t, 4>, 4> colors = {
        {{0, 1, 1, 1}, {3, 1, 1, 1}, {0, 1, 1, 1}, {3, 1, 1, 1}}};
    const std::uint64_t sums[4] = {6520, 1174, 6520, 1174};
    for (int state = 0; state < 4; ++state) {
        EXPECT_EQ(button.colors[state]->c, colors[state]) << state;
        ASSERT_TRUE(button.images[state]) << state;
        EXPECT_EQ(button.images[state]->ColorCount(), 4) << state;
        EXPECT_EQ(PixelSum(button.images[state].get()), sums[state]) << state;
    }
}

TEST_F(CCFRealFiles, SurviveTruncationAtEveryOffset) {
    for (const char* name : {kSkylight, kGallery}) {
        const std::vector<std::uint8_t> bytes = ReadShared(name);
        if (bytes.empty()) GTEST_SKIP() << Missing(name);
        const WalkCounts whole = Walk(*Load(bytes).file);
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            Loaded loaded = Load({bytes.begin(), bytes.begin() + size});
            ASSERT_TRUE(loaded.file) << name << " cut at " << size;
            const WalkCounts counts = Walk(*loaded.file);
            EXPECT_LE(counts.devices, whole.devices) << name << " cut at " << size;
            EXPECT_LE(counts.buttons, whole.buttons) << name << " cut at " << size;
        }
    }
}

}  // namespace
