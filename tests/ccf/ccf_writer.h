// A small writer of CCF files for fixtures: records are appended one after another (children first, so
// their offsets are known), links that point forward are patched afterwards. Header-only so that the bench
// and the fuzz seed generator can build the same files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ccf_test {

struct Child {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint32_t record = 0;
    std::uint8_t kind = 1;  // 0 frame, 1 button
};

struct Action {
    std::uint8_t type = 5;
    std::uint32_t p1 = 0;
    std::uint32_t p2 = 0;
};

struct Pair {
    std::uint16_t on = 0;
    std::uint16_t off = 0;
};

// Four colour values as the file keeps them (grey levels in a monochrome file, indices in a colour file).
using Colors = std::array<std::uint8_t, 4>;

struct ButtonFields {
    std::uint16_t width = 40;
    std::uint16_t height = 20;
    std::uint32_t actions = 0;  // action list record
    std::uint32_t name = 0;     // name record
    std::uint8_t font = 0;
    std::array<std::uint32_t, 4> bitmaps{};
    std::array<Colors, 4> colors{};
};

struct FrameFields {
    std::uint16_t width = 240;
    std::uint16_t height = 20;
    std::uint32_t name = 0;
    std::uint32_t bitmap = 0;
    std::uint8_t font = 0;
    Colors colors{};
    std::vector<Child> children;
};

struct DeviceFields {
    std::uint32_t name = 0;
    // Action list records in model order: "[Action]", key 1, key 2, volume -, volume +, channel -, channel +,
    // mute, key 3, key 4 (the last two only in colour files).
    std::array<std::uint32_t, 10> lists{};
    std::array<std::uint32_t, 4> labels{};  // name records of keys 1-4 (3 and 4 only in colour files)
    std::uint32_t firstPanel = 0;
};

class CCFWriter {
public:
    static constexpr std::uint32_t kColorBit = 0x100;
    static constexpr std::uint32_t kBit17 = 0x20000;
    static constexpr std::size_t kHeaderBytes = 0x44;

    CCFWriter(bool color, bool bit17) : color_(color) {
        bytes_.assign(kHeaderBytes, 0);
        Put32(0x24, (color ? kColorBit : 0) | (bit17 ? kBit17 : 0));
        ownPanelAt_ = (!color || bit17) ? 0x40 : 0x3C;
    }

    bool Color() const { return color_; }
    std::uint32_t OwnPanelField() const { return ownPanelAt_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }

    // --- records --------------------------------------------------------------------------------
    std::uint32_t Name(std::string_view text) {
        const std::uint32_t at = Here();
        U8(static_cast<std::uint8_t>(text.size()));
        for (char c : text) U8(static_cast<std::uint8_t>(c));
        return at;
    }

    // A bitmap record with rows given as they are stored.
    std::uint32_t RawBitmap(std::uint16_t width, std::uint16_t height, std::uint16_t flags,
                            const std::vector<std::uint8_t>& rows, std::uint16_t first = 0) {
        const std::uint32_t at = Here();
        U16(first);
        U16(width);
        U16(height);
        U16(flags);
        for (std::uint8_t b : rows) U8(b);
        return at;
    }
    // A bitmap record encoding pixel values (row-major, width x height) at 1, 2 or 8 bits per pixel.
    std::uint32_t Bitmap(int bits, std::uint16_t width, std::uint16_t height, const std::vector<std::uint8_t>& pixels) {
        return RawBitmap(width, height,
                         bits == 8   ? 0x0001
                         : bits == 2 ? 0x0100
                                     : 0x0000,
                         EncodeRows(bits, width, height, pixels));
    }
    static std::uint32_t RowBytes(int bits, std::uint32_t width) {
        if (bits == 8) return width;
        if (bits == 2) return ((width * 2 + 7) / 8 + 1) & ~1u;
        return (width + 7) / 8;
    }
    static std::vector<std::uint8_t> EncodeRows(int bits, std::uint16_t width, std::uint16_t height,
                                                const std::vector<std::uint8_t>& pixels) {
        const std::uint32_t stride = RowBytes(bits, width);
        std::vector<std::uint8_t> rows(std::size_t(stride) * height, 0);
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint8_t v = pixels[std::size_t(y) * width + x];
                std::uint8_t& b = rows[std::size_t(y) * stride + (bits == 8 ? x : bits == 2 ? x / 4 : x / 8)];
                if (bits == 8)
                    b = v;
                else if (bits == 2)
                    b |= std::uint8_t((v & 3) << (6 - 2 * (x % 4)));
                else
                    b |= std::uint8_t((v & 1) << (7 - x % 8));
            }
        }
        return rows;
    }

    std::uint32_t IRCode(std::uint32_t name, std::uint16_t format, std::uint16_t divisor, const std::vector<Pair>& once,
                         const std::vector<Pair>& repeat) {
        const std::uint32_t at = Here();
        U16(0);
        U32(name);
        U16(format);
        U16(divisor);
        U16(static_cast<std::uint16_t>(once.size()));
        U16(static_cast<std::uint16_t>(repeat.size()));
        for (const Pair& p : once) U16(p.on), U16(p.off);
        for (const Pair& p : repeat) U16(p.on), U16(p.off);
        return at;
    }

    std::uint32_t ActionList(const std::vector<Action>& actions) {
        const std::uint32_t at = Here();
        U8(static_cast<std::uint8_t>(actions.size()));
        U8(0);
        for (const Action& a : actions) {
            U8(a.type);
            U32(a.p1);
            U32(a.p2);
        }
        return at;
    }
    // Rewrites the parameters of entry index of an action list (for links to records written later).
    void SetAction(std::uint32_t list, int index, std::uint32_t p1, std::uint32_t p2) {
        Put32(list + 2 + 9 * index + 1, p1);
        Put32(list + 2 + 9 * index + 5, p2);
    }

    std::uint32_t Button(const ButtonFields& b) {
        const std::uint32_t at = Here();
        U16(b.width);
        U16(b.height);
        U32(b.actions);
        U32(b.name);
        U32(0);
        U8(b.font);
        U8(0);
        for (std::uint32_t bitmap : b.bitmaps) U32(bitmap);
        for (const Colors& c : b.colors) PutColors(c);
        return at;
    }

    std::uint32_t Frame(const FrameFields& f) {
        const std::uint32_t at = Here();
        U16(f.width);
        U16(f.height);
        U32(f.name);
        U32(f.bitmap);
        U32(0);
        U8(f.font);
        PutColors(f.colors);
        U8(static_cast<std::uint8_t>(f.children.size()));
        U8(0);
        for (const Child& c : f.children) PutChild(c);
        return at;
    }

    std::uint32_t Panel(const std::vector<Child>& children, bool hidden = false, std::uint32_t name = 0) {
        const std::uint32_t at = Here();
        U32(0);
        U32(name | (hidden ? 0x80000000u : 0));
        U8(static_cast<std::uint8_t>(children.size()));
        U8(0);
        for (const Child& c : children) PutChild(c);
        return at;
    }

    std::uint32_t Device(const DeviceFields& d) {
        const std::uint32_t at = Here();
        U32(0);
        U32(d.name);
        U32(0);
        U32(0);
        for (int i = 0; i < 8; ++i) U32(d.lists[i]);
        if (color_) {
            U32(d.lists[8]);
            U32(d.lists[9]);
            U32(0);
            for (std::uint32_t label : d.labels) U32(label);
        } else {
            U32(0);
            U32(d.labels[0]);
            U32(d.labels[1]);
        }
        U32(d.firstPanel);
        return at;
    }

    // Links record -> next (devices and panels keep their next link at 0).
    void Link(std::uint32_t record, std::uint32_t next) { Put32(record, next); }
    // Links records in order and returns the first (0 for none).
    std::uint32_t Chain(const std::vector<std::uint32_t>& records) {
        for (std::size_t i = 0; i + 1 < records.size(); ++i) Link(records[i], records[i + 1]);
        return records.empty() ? 0 : records[0];
    }
    void SetChain(int chain, std::uint32_t first) { Put32(0x30 + 4 * (chain - 1), first); }
    void SetOwnPanel(std::uint32_t panel) { Put32(ownPanelAt_, panel); }

    void Put32(std::uint32_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = std::uint8_t(v >> (24 - 8 * i));
    }
    void Put16(std::uint32_t at, std::uint16_t v) {
        bytes_[at] = std::uint8_t(v >> 8);
        bytes_[at + 1] = std::uint8_t(v);
    }
    void Pad(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

private:
    std::uint32_t Here() const { return static_cast<std::uint32_t>(bytes_.size()); }
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(std::uint8_t(v >> 8));
        U8(std::uint8_t(v));
    }
    void U32(std::uint32_t v) {
        U16(std::uint16_t(v >> 16));
        U16(std::uint16_t(v));
    }
    void PutColors(const Colors& c) {
        if (color_) {
            for (std::uint8_t v : c) U8(v);
        } else {
            U8(std::uint8_t((c[0] & 3) | (c[1] & 3) << 2 | (c[2] & 3) << 4 | (c[3] & 3) << 6));
        }
    }
    void PutChild(const Child& c) {
        U16(static_cast<std::uint16_t>(c.x));
        U16(static_cast<std::uint16_t>(c.y));
        U32(c.record);
        U8(c.kind);
    }

    std::vector<std::uint8_t> bytes_;
    bool color_;
    std::uint32_t ownPanelAt_;
};

// A file with every record kind, in the given form: home group with one device, two devices (one with a
// frame nested two deep), one macro; bitmaps of each depth; every action type; IR codes of several shapes.
struct SampleFile {
    std::vector<std::uint8_t> bytes;
    std::uint32_t homeDevice = 0, tv = 0, vcr = 0, macro = 0;
    std::uint32_t tvPanel1 = 0, tvPanel2 = 0, vcrPanel = 0, ownPanel = 0;
    std::uint32_t powerButton = 0, nestedButton = 0, innerFrame = 0, outerFrame = 0;
    std::uint32_t powerList = 0, macroList = 0;
    std::uint32_t bitmap1 = 0, bitmap2 = 0, bitmap8 = 0;
};

inline SampleFile MakeSampleFile(bool color, bool bit17) {
    CCFWriter w(color, bit17);
    SampleFile s;
    std::vector<std::uint8_t> pixels(9 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 37 + 1);
    std::vector<std::uint8_t> p1(pixels), p2(pixels);
    for (auto& v : p1) v &= 1;
    for (auto& v : p2) v &= 3;
    s.bitmap1 = w.Bitmap(1, 9, 3, p1);
    s.bitmap2 = w.Bitmap(2, 9, 3, p2);
    s.bitmap8 = w.Bitmap(8, 9, 3, pixels);

    const std::uint32_t codeA = w.IRCode(w.Name("Power"), 0, 109, {{16, 8}, {1, 3}}, {{2, 2}});
    const std::uint32_t codeB = w.IRCode(w.Name("Mute"), 0, 100, {}, {{5, 50}});
    const std::uint32_t codeOther = w.IRCode(w.Name("Pronto"), 0x100, 109, {}, {});
    s.powerList =
        w.ActionList({{1, 0, codeA}, {4, 0, 500}, {1, 0, codeB}, {5, 0, 0}, {7, 0, 0}, {8, 0, 0}, {1, 0, codeOther}});
    ButtonFields power;
    power.name = w.Name("Power");
    power.font = 3;
    power.actions = s.powerList;
    power.bitmaps = {s.bitmap1, s.bitmap2, color ? s.bitmap8 : 0, 0};
    power.colors = {Colors{1, 2, 3, 0}, Colors{3, 2, 1, 0}, Colors{0, 1, 2, 3}, Colors{2, 2, 2, 2}};
    s.powerButton = w.Button(power);

    ButtonFields nested;
    nested.name = w.Name("Inner");
    nested.font = 9;
    nested.actions = w.ActionList({{2, 0, 0}, {3, 0, 0}, {6, 0, 0}, {9, 0, 0}, {12, 0, 0}, {1, 0, codeA}});
    s.macroList = nested.actions;
    s.nestedButton = w.Button(nested);

    FrameFields inner;
    inner.name = w.Name("Inner frame");
    inner.width = 100;
    inner.height = 30;
    inner.font = 6;
    inner.bitmap = s.bitmap2;
    inner.colors = {1, 2, 3, 0};
    inner.children = {{2, 3, s.nestedButton, 1}, {0, 0, 0, 1}, {5, 5, s.powerButton, 7}};
    s.innerFrame = w.Frame(inner);
    FrameFields outer;
    outer.children = {{-4, 10, s.innerFrame, 0}};
    s.outerFrame = w.Frame(outer);

    s.tvPanel1 = w.Panel({{-4, 10, s.powerButton, 1}, {0, 30, s.outerFrame, 0}});
    s.tvPanel2 = w.Panel({{0, 0, s.powerButton, 1}}, true);
    w.Chain({s.tvPanel1, s.tvPanel2});
    s.vcrPanel = w.Panel({});
    s.ownPanel = w.Panel({{0, 0, s.powerButton, 1}});

    DeviceFields home;
    home.name = w.Name("Home");
    home.firstPanel = w.Panel({{0, 0, s.powerButton, 1}});
    s.homeDevice = w.Device(home);

    DeviceFields tv;
    tv.name = w.Name("TV");
    tv.lists[0] = w.ActionList({{4, 0, 10}});
    tv.lists[1] = w.ActionList({{1, 0, codeB}});
    tv.lists[7] = w.ActionList({{1, 0, codeA}});
    tv.lists[8] = w.ActionList({{5, 0, 0}});
    tv.labels = {w.Name("Input"), w.Name("Guide"), w.Name("Key3"), w.Name("Key4")};
    tv.firstPanel = s.tvPanel1;
    s.tv = w.Device(tv);
    DeviceFields vcr;
    vcr.name = w.Name("VCR");
    vcr.firstPanel = s.vcrPanel;
    s.vcr = w.Device(vcr);
    w.Link(s.tv, s.vcr);

    DeviceFields macro;
    macro.name = w.Name("Watch TV");
    s.macro = w.Device(macro);

    // The second list's jumps and alias point at records written above.
    w.SetAction(s.macroList, 0, s.tv, s.powerButton);
    w.SetAction(s.macroList, 1, s.vcr, 0);
    w.SetAction(s.macroList, 2, s.tv, 0);
    w.SetAction(s.macroList, 3, s.tv, s.tvPanel2);

    w.SetChain(1, s.homeDevice);
    w.SetChain(2, s.tv);
    w.SetChain(3, s.macro);
    w.SetOwnPanel(s.ownPanel);
    s.bytes = w.Bytes();
    return s;
}

}  // namespace ccf_test
