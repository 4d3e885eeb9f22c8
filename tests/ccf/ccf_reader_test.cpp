// Reading CCF files: the four forms, every record kind, and files that lie.
#include <gtest/gtest.h>

#include "ccf/format/ccf_bytes.h"
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"

using namespace ccf_test;

namespace {

struct Form {
    bool color;
    bool bit17;
    const char* label;
};
const Form kForms[] = {
    {false, false, "mono"}, {false, true, "mono17"}, {true, false, "color"}, {true, true, "color17"}};

class CCFFormTest : public ::testing::TestWithParam<Form> {};

TEST_P(CCFFormTest, BuildsEveryRecordKindInItsLayout) {
    const Form form = GetParam();
    const SampleFile sample = MakeSampleFile(form.color, form.bit17);
    Loaded loaded = Load(sample.bytes);
    ASSERT_TRUE(loaded.file);
    const CCFFile& file = *loaded.file;
    EXPECT_EQ(file.IsColor(), form.color);
    EXPECT_EQ(loaded.stats.outsideFile, 0u);
    EXPECT_EQ(loaded.stats.cycles, 0u);

    std::vector<int> chains;
    const auto devices = Devices(file, &chains);
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(chains, (std::vector<int>{1, 2, 2, 3}));
    EXPECT_EQ(devices[0]->name, "Home");
    EXPECT_EQ(devices[1]->name, "TV");
    EXPECT_EQ(devices[2]->name, "VCR");
    EXPECT_EQ(devices[3]->name, "Watch TV");
    EXPECT_EQ(devices[1]->recordOffset, sample.tv);

    // Device lists: the fixed names, and the labels read in this form's layout.
    const CCFDevice& tv = *devices[1];
    std::vector<std::string> names;
    for (auto* list : Collect<CCFActionList>(tv.CreateActionListIterator())) names.push_back(list->name);
    if (form.color) {
        EXPECT_EQ(names, (std::vector<std::string>{"[Action]", "Input", "[Mute]", "Key3"}));
        EXPECT_EQ(tv.labels[3], "Key4");
    } else {
        EXPECT_EQ(names, (std::vector<std::string>{"[Action]", "Input", "[Mute]"}));
        EXPECT_EQ(tv.labels[2], "");
    }
    EXPECT_EQ(tv.labels[1], "Guide");
    EXPECT_FALSE(devices[3]->CreateActionListIterator()->IsValid());
    EXPECT_FALSE(devices[3]->CreatePanelIterator()->IsValid());

    const auto panels = Collect<CCFPanel>(tv.CreatePanelIterator());
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0]->recordOffset, sample.tvPanel1);
    EXPECT_EQ(panels[0]->hidden, 0);
    EXPECT_EQ(panels[1]->hidden, 1);

    const auto items = Collect<CCFPanelItem>(panels[0]->CreateItemIterator());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->x, -4);
    EXPECT_EQ(items[0]->y, 10);
    EXPECT_FALSE(items[0]->CreateFrameIterator()->IsValid());
    auto* power = items[0]->CreateButtonIterator()->CurrentAs<CCFButton>();
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(power->recordOffset, sample.powerButton);
    EXPECT_EQ(power->name, "Power");
    EXPECT_EQ(power->font, 3);
    EXPECT_EQ(power->width, 40);
    EXPECT_EQ(power->height, 20);
    ASSERT_TRUE(power->images[0] && power->images[1]);
    EXPECT_EQ(power->images[0]->ColorCount(), 2);
    EXPECT_EQ(power->images[1]->ColorCount(), 4);
    EXPECT_EQ(power->images[2] != nullptr, form.color);
    EXPECT_EQ(power->images[3], nullptr);
    for (int state = 0; state < 4; ++state) ASSERT_TRUE(power->colors[state]);
    EXPECT_EQ(power->colors[0]->c, (std::array<std::uint8_t, 4>{1, 2, 3, 0}));
    EXPECT_EQ(power->colors[1]->c, (std::array<std::uint8_t, 4>{3, 2, 1, 0}));
    EXPECT_EQ(power->colors[3]->c, (std::array<std::uint8_t, 4>{2, 2, 2, 2}));
    EXPECT_EQ(power->colors[0]->ColorCount(), form.color ? 256 : 4);
    ASSERT_TRUE(power->actions);
    EXPECT_EQ(power->actions->name, "Power");
    EXPECT_EQ(power->actions->count, 7);

    // Nesting: panel -> frame -> frame -> button, an empty child and a child of unknown kind.
    auto* outer = items[1]->CreateFrameIterator()->CurrentAs<CCFFrame>();
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->width, 240);
    const auto outerItems = Collect<CCFPanelItem>(outer->CreateItemIterator());
    ASSERT_EQ(outerItems.size(), 1u);
    auto* inner = outerItems[0]->frame.get();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->name, "Inner frame");
    EXPECT_EQ(inner->font, 6);
    ASSERT_TRUE(inner->image && inner->colors);
    EXPECT_EQ(inner->image->ColorCount(), 4);
    EXPECT_EQ(inner->colors->c, (std::array<std::uint8_t, 4>{1, 2, 3, 0}));
    const auto innerItems = Collect<CCFPanelItem>(inner->CreateItemIterator());
    ASSERT_EQ(innerItems.size(), 3u);
    EXPECT_EQ(innerItems[0]->button->name, "Inner");
    EXPECT_EQ(innerItems[0]->x, 2);
    EXPECT_EQ(innerItems[1]->button, nullptr);  // zero offset
    EXPECT_FALSE(innerItems[1]->CreateButtonIterator()->IsValid());
    EXPECT_EQ(innerItems[2]->kind, 7);  // unknown kind: empty, position kept
    EXPECT_EQ(innerItems[2]->button, nullptr);
    EXPECT_EQ(innerItems[2]->frame, nullptr);
    EXPECT_EQ(innerItems[2]->x, 5);

    // The file's own panel: header only, from the field this form uses.
    auto own = Collect<CCFPanel>(file.CreateOwnPanelIterator());
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0]->recordOffset, sample.ownPanel);
    EXPECT_EQ(own[0]->itemCount, 1);
    EXPECT_FALSE(own[0]->CreateItemIterator()->IsValid());
}

TEST_P(CCFFormTest, TakesTheOwnPanelFromTheFieldOfItsForm) {
    const Form form = GetParam();
    CCFWriter w(form.color, form.bit17);
    const std::uint32_t at3C = w.Panel({}, false);
    const std::uint32_t at40 = w.Panel({}, true);
    w.Put32(0x3C, at3C);
    w.Put32(0x40, at40);
    Loaded loaded = Load(w.Bytes());
    ASSERT_TRUE(loaded.file->ownPanel);
    const bool expect40 = !form.color || form.bit17;
    EXPECT_EQ(loaded.file->ownPanel->recordOffset, expect40 ? at40 : at3C) << form.label;
}

TEST_P(CCFFormTest, SurvivesTruncationAtEveryOffset) {
    const SampleFile sample = MakeSampleFile(GetParam().color, GetParam().bit17);
    for (std::size_t size = 0; size <= sample.bytes.size(); ++size) {
        Loaded loaded = Load({sample.bytes.begin(), sample.bytes.begin() + size});
        ASSERT_TRUE(loaded.file);
        const WalkCounts counts = Walk(*loaded.file);
        if (size < sample.bytes.size()) {
            // Nothing whose record lies past the cut may have been built.
            for (CCFDevice* device : Devices(*loaded.file)) EXPECT_LE(device->recordOffset + 0x40u, size);
        } else {
            EXPECT_EQ(counts.devices, 4u);
            EXPECT_EQ(loaded.stats.outsideFile, 0u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, CCFFormTest, ::testing::ValuesIn(kForms),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(CCFReader, EmptyChainsGiveNoDevices) {
    CCFWriter w(false, false);
    Loaded loaded = Load(w.Bytes());
    EXPECT_FALSE(loaded.file->CreateDeviceIterator()->IsValid());
    EXPECT_FALSE(loaded.file->CreateOwnPanelIterator()->IsValid());
    // Even an empty buffer opens as an empty file.
    Loaded empty = Load({});
    ASSERT_TRUE(empty.file);
    EXPECT_FALSE(empty.file->CreateDeviceIterator()->IsValid());
}

TEST(CCFReader, SecondChainAloneKeepsItsChainNumber) {
    CCFWriter w(true, false);
    DeviceFields a, b;
    a.name = w.Name("A");
    b.name = w.Name("B");
    const std::uint32_t first = w.Chain({w.Device(a), w.Device(b)});
    w.SetChain(2, first);
    Loaded loaded = Load(w.Bytes());
    std::vector<int> chains;
    const auto devices = Devices(*loaded.file, &chains);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(chains, (std::vector<int>{2, 2}));
    EXPECT_EQ(devices[1]->name, "B");
}

TEST(CCFReader, NamesAndFixedStrings) {
    CCFWriter w(false, false);
    const std::string long200(200, 'x');
    DeviceFields d;
    d.name = w.Name(long200);
    w.SetChain(2, w.Device(d));
    const std::uint32_t headerName = w.Name("Header");
    w.Put32(0x00, headerName);
    w.Put32(0x08, 0x41424300);  // "ABC", NUL, then characters that are not part of the string
    w.Put32(0x0C, 0x44454647);
    w.Put32(0x20, 0x43434646);  // "CCFF": four characters, no terminator
    Loaded loaded = Load(w.Bytes());
    EXPECT_EQ(Devices(*loaded.file)[0]->name.size(), 200u);
    EXPECT_EQ(loaded.file->headerString, "Header");
    EXPECT_EQ(loaded.file->headerString8, "ABC");
    EXPECT_EQ(loaded.file->headerString4, "CCFF");

    // A name whose length byte runs past the end of the file is absent.
    std::vector<std::uint8_t> bytes = w.Bytes();
    bytes.push_back(50);
    bytes.push_back('a');
    tessaly::CCFBytes view{bytes.data(), bytes.size()};
    std::string out = "kept";
    EXPECT_FALSE(view.ReadName(static_cast<std::uint32_t>(bytes.size() - 2), out));
    EXPECT_EQ(out, "kept");
}

TEST(CCFReader, DecodesLearnedCodes) {
    struct Case {
        std::uint16_t format, divisor;
        bool learned;
        std::uint16_t frequency;
    };
    const Case cases[] = {{0, 100, true, 41451},
                          {0, 109, true, 38028},
                          {0, 1, true, 16378} /* wraps */,
                          {0, 40, true, 38092} /* wraps */,
                          {0, 0, true, 0},
                          {0x100, 109, false, 0},
                          {7, 0, false, 0}};
    for (const Case& c : cases) {
        CCFWriter w(false, false);
        const std::uint32_t code = w.IRCode(w.Name("C"), c.format, c.divisor, {{1, 2}, {3, 4}}, {{5, 6}});
        ButtonFields b;
        b.actions = w.ActionList({{1, 0, code}});
        w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, w.Button(b), 1}})}));
        Loaded loaded = Load(w.Bytes());
        auto* button = loaded.file->chains[1]->firstPanel->items[0]->button.get();
        auto* action = dynamic_cast<CCFIRCodeAction*>(button->actions->actionSlots[0].get());
        ASSERT_TRUE(action && action->code) << c.divisor;
        EXPECT_EQ(action->code->name, "C");
        const CCFLearnedCode* learned = action->code->GetLearnedCode();
        ASSERT_EQ(learned != nullptr, c.learned) << c.format << "/" << c.divisor;
        if (!learned) continue;
        EXPECT_EQ(learned->GetFrequency(), c.frequency) << c.divisor;
        EXPECT_EQ(learned->divisor, c.divisor);
        if (c.divisor == 0) {
            EXPECT_TRUE(learned->once.empty() && learned->repeat.empty());
            continue;
        }
        std::vector<std::pair<int, int>> once, repeat;
        for (auto it = learned->CreateOnceIterator(); it->IsValid(); it->Next())
            once.emplace_back(it->Current()->on, it->Current()->off);
        for (auto it = learned->CreateRepeatIterator(); it->IsValid(); it->Next())
            repeat.emplace_back(it->Current()->on, it->Current()->off);
        EXPECT_EQ(once, (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}}));
        EXPECT_EQ(repeat, (std::vector<std::pair<int, int>>{{5, 6}}));
    }
}

TEST(CCFReader, ActionSlotsKeepEveryTypeAndLeaveOthersEmpty) {
    CCFWriter w(false, false);
    std::vector<Action> actions;
    for (int type = 0; type <= 12; ++type) actions.push_back({std::uint8_t(type), 11u * type, 13u * type});
    ButtonFields b;
    b.actions = w.ActionList(actions);
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, w.Button(b), 1}})}));
    Loaded loaded = Load(w.Bytes());
    const CCFActionList& list = *loaded.file->chains[1]->firstPanel->items[0]->button->actions;
    ASSERT_EQ(list.actionSlots.size(), 13u);
    for (int type = 0; type <= 12; ++type) {
        const CCFAction* action = list.actionSlots[type].get();
        ASSERT_EQ(action != nullptr, type >= 1 && type <= 9) << type;
        if (!action) continue;
        EXPECT_EQ(action->type, type);
        EXPECT_EQ(action->owner, &list);
        EXPECT_EQ(action->p2, 13u * type);
        EXPECT_EQ(action->recordOffset, 0u);
    }
    // The cursor ends at the first empty slot, which is slot 0 here.
    EXPECT_FALSE(list.CreateActionIterator()->IsValid());
}

// --- hostile files ---------------------------------------------------------------------------------

TEST(CCFHostile, OffsetsOutsideTheFileAreAbsent) {
    CCFWriter w(true, true);
    ButtonFields b;
    b.bitmaps = {0xFFFFFFF0u, w.Size() + 1000, 0, 0};
    b.actions = 0x7FFFFFFF;
    b.name = 0xFFFFFFFF;
    const std::uint32_t button = w.Button(b);
    const std::uint32_t panel = w.Panel({{0, 0, button, 1}, {0, 0, 0xFFFFFFFE, 0}});
    w.SetChain(1, 0xFFFFFFFF);
    w.SetChain(2, w.Device({.name = 0xFFFFFFFD, .firstPanel = panel}));
    w.SetChain(3, w.Size() - 2);  // starts inside the file, ends past it
    w.SetOwnPanel(0xFFFFFFFC);
    Loaded loaded = Load(w.Bytes());
    const auto devices = Devices(*loaded.file);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0]->name, "");
    const CCFPanelItem& item = *devices[0]->firstPanel->items[0];
    ASSERT_TRUE(item.button);
    EXPECT_EQ(item.button->images[0], nullptr);
    EXPECT_EQ(item.button->images[1], nullptr);
    EXPECT_EQ(item.button->actions, nullptr);
    EXPECT_EQ(devices[0]->firstPanel->items[1]->frame, nullptr);
    EXPECT_EQ(loaded.file->ownPanel, nullptr);
    EXPECT_GE(loaded.stats.outsideFile, 7u);
}

TEST(CCFHostile, RecordsRunningPastTheEndAreAbsent) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> (*make)();
    };
    // Each file ends in the middle of the last record's declared contents.
    const Case cases[] = {
        {"panel children",
         [] {
             CCFWriter w(false, false);
             const std::uint32_t panel = w.Panel({{0, 0, 0, 1}});
             w.Put16(panel + 8, 0xFF00);  // 255 children declared, 1 present
             w.SetChain(2, w.Device({.firstPanel = panel}));
             return w.Bytes();
         }},
        {"bitmap rows",
         [] {
             CCFWriter w(false, false);
             const std::uint32_t button = w.Button({});
             w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
             w.Put32(button + 0x12, w.RawBitmap(64, 64, 0x0001, std::vector<std::uint8_t>(64 * 63)));
             return w.Bytes();
         }},
        {"1-bit bitmap with flag bit 15",  // the flag spares only 2-bit images their rows
         [] {
             CCFWriter w(false, false);
             const std::uint32_t button = w.Button({});
             w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
             w.Put32(button + 0x12, w.RawBitmap(64, 64, 0x8000, std::vector<std::uint8_t>(8 * 63)));
             return w.Bytes();
         }},
        {"action list",
         [] {
             CCFWriter w(false, false);
             ButtonFields b;
             const std::uint32_t button = w.Button(b);
             w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
             const std::uint32_t list = w.ActionList({{4, 0, 1}});
             w.Put16(list, 0xFF00);
             w.Put32(button + 4, list);
             return w.Bytes();
         }},
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(c.make());
        const auto devices = Devices(*loaded.file);
        ASSERT_EQ(devices.size(), 1u) << c.what;
        EXPECT_GE(loaded.stats.outsideFile, 1u) << c.what;
        const CCFPanel* panel = devices[0]->firstPanel.get();
        if (std::string(c.what) == "panel children") {
            EXPECT_EQ(panel, nullptr);
            continue;
        }
        ASSERT_TRUE(panel);
        const CCFButton& button = *panel->items[0]->button;
        EXPECT_EQ(button.images[0], nullptr) << c.what;
        EXPECT_EQ(button.actions, nullptr) << c.what;
    }
}

TEST(CCFHostile, PairListPastTheEndGivesNoLearnedCode) {
    CCFWriter w(false, false);
    const std::uint32_t code = w.IRCode(0, 0, 100, {{1, 1}}, {});
    w.Put16(code + 10, 0xFFFF);  // 65535 once pairs declared
    ButtonFields b;
    b.actions = w.ActionList({{1, 0, code}});
    const std::uint32_t button = w.Button(b);
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
    Loaded loaded = Load(w.Bytes());
    auto* action = dynamic_cast<CCFIRCodeAction*>(
        loaded.file->chains[1]->firstPanel->items[0]->button->actions->actionSlots[0].get());
    ASSERT_TRUE(action && action->code);
    EXPECT_EQ(action->code->GetLearnedCode(), nullptr);
    EXPECT_EQ(SendCCFIRCode(action->code.get()), 0u);
}

TEST(CCFHostile, ChainLinksBackEndTheChain) {
    CCFWriter w(false, false);
    const std::uint32_t p1 = w.Panel({});
    const std::uint32_t p2 = w.Panel({});
    w.Link(p1, p2);
    w.Link(p2, p1);  // panel chain loops
    const std::uint32_t a = w.Device({.firstPanel = p1});
    const std::uint32_t b = w.Device({});
    w.Link(a, b);
    w.Link(b, a);  // device chain loops
    w.SetChain(2, a);
    const std::uint32_t self = w.Device({});
    w.Link(self, self);
    w.SetChain(3, self);
    Loaded loaded = Load(w.Bytes());
    const auto devices = Devices(*loaded.file);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0]->recordOffset, a);
    EXPECT_EQ(devices[1]->recordOffset, b);
    EXPECT_EQ(devices[2]->recordOffset, self);
    EXPECT_EQ(Collect<CCFPanel>(devices[0]->CreatePanelIterator()).size(), 2u);
    EXPECT_EQ(loaded.stats.cycles, 3u);
}

TEST(CCFHostile, FrameInsideItselfAndDeepNestingAreBounded) {
    CCFWriter w(true, false);
    // A frame whose only child is itself.
    FrameFields loop;
    loop.children = {{1, 2, 0, 0}};
    const std::uint32_t loopFrame = w.Frame(loop);
    w.Put32(loopFrame + 0x17 + 4, loopFrame);
    // 100 frames, each inside the next.
    std::uint32_t inner = 0;
    for (int i = 0; i < 100; ++i) {
        FrameFields f;
        if (inner) f.children = {{0, 0, inner, 0}};
        inner = w.Frame(f);
    }
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, loopFrame, 0}, {0, 0, inner, 0}})}));
    CCFReadLimits limits;
    limits.maxFrameDepth = 20;
    Loaded loaded = Load(w.Bytes(), limits);
    const CCFPanel& panel = *loaded.file->chains[1]->firstPanel;
    const CCFFrame& outerLoop = *panel.items[0]->frame;
    ASSERT_EQ(outerLoop.items.size(), 1u);
    EXPECT_EQ(outerLoop.items[0]->frame, nullptr);
    EXPECT_EQ(outerLoop.items[0]->y, 2);
    int depth = 0;
    for (const CCFFrame* f = panel.items[1]->frame.get(); f; f = f->items.empty() ? nullptr : f->items[0]->frame.get())
        ++depth;
    EXPECT_EQ(depth, 20);
    EXPECT_EQ(loaded.stats.cycles, 1u);
    EXPECT_EQ(loaded.stats.tooDeep, 1u);
}

TEST(CCFHostile, SharedRecordsCannotExhaustMemory) {
    // Eight levels of frames whose 255 children all point at the next level: 255^8 objects described.
    CCFWriter w(false, false);
    std::uint32_t level = w.Button({});
    std::uint8_t kind = 1;
    for (int i = 0; i < 8; ++i) {
        FrameFields f;
        f.children.assign(255, Child{0, 0, level, kind});
        level = w.Frame(f);
        kind = 0;
    }
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, level, 0}})}));
    CCFReadLimits limits;
    limits.maxObjects = 100000;
    Loaded loaded = Load(w.Bytes(), limits);
    EXPECT_TRUE(loaded.stats.budgetExhausted);
    EXPECT_LE(loaded.stats.objects, limits.maxObjects);
    EXPECT_GT(Walk(*loaded.file).items, 1000u);
    // Without an explicit bound the file's size sets it: this small file may not grow a million objects.
    Loaded unbounded = Load(w.Bytes());
    EXPECT_TRUE(unbounded.stats.budgetExhausted);
    EXPECT_LE(unbounded.stats.objects, 65536 + 16 * w.Bytes().size());

    // The default heap bound holds as well: an image of 64K x 8 pixels named by many buttons.
    CCFWriter big(false, false);
    ButtonFields b;
    b.bitmaps.fill(big.RawBitmap(0xFFFF, 8, 0, std::vector<std::uint8_t>(8192 * 8)));
    const std::uint32_t button = big.Button(b);
    FrameFields many;
    many.children.assign(255, Child{0, 0, button, 1});
    const std::uint32_t frame = big.Frame(many);
    FrameFields fan;
    fan.children.assign(255, Child{0, 0, frame, 0});
    big.SetChain(2, big.Device({.firstPanel = big.Panel({{0, 0, big.Frame(fan), 0}})}));
    Loaded huge = Load(big.Bytes());
    EXPECT_TRUE(huge.stats.budgetExhausted);
    EXPECT_LE(huge.stats.heapBytes, (std::uint64_t{64} << 20) + 64 * big.Bytes().size());
}

TEST(CCFHostile, LongChainsAreReleasedWithoutDeepRecursion) {
    CCFWriter w(false, false);
    constexpr int kDevices = 300000;
    std::uint32_t previous = 0, first = 0;
    for (int i = 0; i < kDevices; ++i) {
        const std::uint32_t device = w.Device({});
        if (previous)
            w.Link(previous, device);
        else
            first = device;
        previous = device;
    }
    w.SetChain(2, first);
    Loaded loaded = Load(w.Bytes());
    EXPECT_EQ(Devices(*loaded.file).size(), std::size_t(kDevices));
    loaded.file.reset();  // a recursive release of 300000 links would overflow the stack here
}

TEST(CCFNames, WidenInTheWesternCodePage) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"TV", u"TV"},
        {"Caf\xE9", u"Caf\u00E9"},
        {"\x80 \x9F \x81", u"\u20AC \u0178 \u0081"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"\xFF", u"\u00FF"},
    };
    for (const auto& [narrow, wide] : cases) EXPECT_EQ(CCFWiden(narrow), wide);
}

}  // namespace
