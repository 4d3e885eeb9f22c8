// The built button library: complete for the device tables and its own lists, laid out as skin authors and
// tools rely on, with pictures that mean what the program reads from them.
#include <gtest/gtest.h>

#include <QtEndian>
#include <set>

#include "app/model/device_templates.h"
#include "app/panel/name_lists.h"
#include "handheld/shell/resource_library.h"
#include "handheld/text.h"
#include "tests/shell/library_builder.h"

namespace {

using handheld::ResourceLibrary;

class ButtonLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string reason;
        library_ = ResourceLibrary::FromBytes(shell_test::BuiltButtonLibrary(), &reason).release();
        ASSERT_NE(library_, nullptr) << reason;
    }
    static void TearDownTestSuite() {
        delete library_;
        library_ = nullptr;
    }
    static std::vector<std::u16string> List(NameListKind kind) {
        std::vector<std::u16string> names;
        LoadNameList(library_, kind, names);
        return names;
    }
    static std::string Utf8(const std::u16string& s) { return handheld::ToUtf8(s); }
    static const ResourceLibrary* library_;
};
const ResourceLibrary* ButtonLibrary::library_ = nullptr;

const std::span<const TemplateRow> kTables[] = {STANDARD_RECEIVER, STANDARD_PLAYER, STANDARD_FUNCTION_PANEL};

std::u16string ShapeOf(std::u16string skin) {
    return skin.starts_with(u"FLAT_") ? skin.substr(5) : skin;
}

TEST_F(ButtonLibrary, HoldsEverySkinAndLabelOfTheDeviceTables) {
    ASSERT_EQ(STANDARD_RECEIVER.size(), 23u);
    ASSERT_EQ(STANDARD_PLAYER.size(), 20u);
    ASSERT_EQ(STANDARD_FUNCTION_PANEL.size(), 12u);
    for (const auto table : kTables) {
        for (const TemplateRow& row : table) {
            const std::u16string shape = ShapeOf(row.skin);
            EXPECT_FALSE(library_->LoadBitmap(row.skin).isNull()) << Utf8(row.skin);
            EXPECT_FALSE(library_->LoadBitmap(u"FLAT_" + shape).isNull()) << Utf8(shape);
            EXPECT_TRUE(library_->Find(u"POINTS", shape)) << Utf8(shape);
            EXPECT_FALSE(library_->LoadBitmap(row.label).isNull()) << Utf8(row.label);
            EXPECT_FALSE(library_->LoadBitmap(std::u16string(row.label) + u"_MASK").isNull()) << Utf8(row.label);
        }
    }
    EXPECT_FALSE(library_->LoadBitmap(u"IDB_BTNFACE").isNull());
}

TEST_F(ButtonLibrary, ListsOfferMoreThanTheTablesAndEverythingListedIsThere) {
    const auto skins = List(NameListKind::Buttons);
    const auto labels = List(NameListKind::Labels);
    std::set<std::u16string> tableSkins, tableLabels;
    for (const auto table : kTables) {
        for (const TemplateRow& row : table) {
            tableSkins.insert(ShapeOf(row.skin));
            tableLabels.insert(row.label);
        }
    }
    for (const auto& skin : tableSkins)
        EXPECT_NE(std::find(skins.begin(), skins.end(), skin), skins.end()) << Utf8(skin);
    for (const auto& label : tableLabels)
        EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << Utf8(label);
    EXPECT_GT(skins.size(), tableSkins.size());
    EXPECT_GT(labels.size(), tableLabels.size());
    for (const auto& skin : skins) {
        EXPECT_EQ(skin, handheld::ToUpper(skin));
        EXPECT_FALSE(library_->LoadBitmap(skin).isNull()) << Utf8(skin);
        EXPECT_FALSE(library_->LoadBitmap(u"FLAT_" + skin).isNull()) << Utf8(skin);
        EXPECT_TRUE(library_->Find(u"POINTS", skin)) << Utf8(skin);
    }
    for (const auto& label : labels) {
        EXPECT_EQ(label, handheld::ToUpper(label));
        EXPECT_FALSE(library_->LoadBitmap(label).isNull()) << Utf8(label);
        EXPECT_FALSE(library_->LoadBitmap(label + u"_MASK").isNull()) << Utf8(label);
    }
}

TEST_F(ButtonLibrary, BitmapsAreUncompressedOpaque24BitBmpAndPointsFourBytes) {
    int bitmaps = 0;
    for (const auto& entry : library_->Entries()) {
        const QByteArray bytes = *library_->Find(entry.type, entry.name);
        if (entry.type == u"BITMAP") {
            ++bitmaps;
            ASSERT_GE(bytes.size(), 54) << Utf8(entry.name);
            EXPECT_EQ(bytes.left(2), QByteArray("BM")) << Utf8(entry.name);
            const auto* header = reinterpret_cast<const uchar*>(bytes.constData()) + 14;
            EXPECT_EQ(qFromLittleEndian<quint16>(header + 14), 24) << Utf8(entry.name);  // bits per pixel
            EXPECT_EQ(qFromLittleEndian<quint32>(header + 16), 0u) << Utf8(entry.name);  // no compression
            const qint32 w = qFromLittleEndian<qint32>(header + 4), h = qFromLittleEndian<qint32>(header + 8);
            EXPECT_EQ(bytes.size(), 54 + ((w * 3 + 3) & ~3) * std::abs(h)) << Utf8(entry.name);
        } else if (entry.type == u"POINTS") {
            EXPECT_EQ(bytes.size(), 4) << Utf8(entry.name);
        } else {
            EXPECT_EQ(entry.type, u"STRINGS");
        }
    }
    EXPECT_GT(bitmaps, 100);
    // The grid's channel key, as skin authors are told.
    EXPECT_EQ(library_->LoadBitmap(u"CHANAL").size(), QSize(46, 42));
    EXPECT_EQ(library_->Find(u"POINTS", u"CHANAL"), QByteArray("\x17\x15\x15\x17", 4));
}

// Label point on the face, and the landscape point the same spot after the counter-clockwise turn.
TEST_F(ButtonLibrary, LabelPointsLieOnTheirFaces) {
    for (const auto& shape : List(NameListKind::Buttons)) {
        const QImage face = library_->LoadBitmap(shape);
        const QByteArray p = *library_->Find(u"POINTS", shape);
        const int dx = static_cast<signed char>(p[0]), dy = static_cast<signed char>(p[1]);
        ASSERT_TRUE(face.rect().contains(dx, dy)) << Utf8(shape);
        EXPECT_GT(qBlue(face.pixel(dx, dy)), 0) << Utf8(shape) << ": label centre off the key";
        EXPECT_EQ(static_cast<signed char>(p[2]), dy) << Utf8(shape);
        EXPECT_EQ(static_cast<signed char>(p[3]), face.width() - dx) << Utf8(shape);
    }
}

TEST_F(ButtonLibrary, FacesCoverWithSoftEdgesAndShadeAroundTheExactColour) {
    for (const auto& shape : List(NameListKind::Buttons)) {
        for (const bool flat : {false, true}) {
            const std::u16string skin = flat ? u"FLAT_" + shape : shape;
            const QImage face = library_->LoadBitmap(skin);
            const int w = face.width(), h = face.height();
            int full = 0, soft = 0;
            long redSum = 0, greenSum = 0, topRed = 0, bottomRed = 0, topCount = 0, bottomCount = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const QRgb px = face.pixel(x, y);
                    if (qBlue(px) == 255) ++full;
                    if (qBlue(px) > 0 && qBlue(px) < 255) ++soft;
                    if (qBlue(px) != 255) continue;
                    redSum += qRed(px);
                    greenSum += qGreen(px);
                    if (y < h / 4) topRed += qRed(px), ++topCount;
                    if (y >= h - h / 4) bottomRed += qRed(px), ++bottomCount;
                }
            }
            const std::string name = Utf8(skin);
            EXPECT_FALSE(qBlue(face.pixel(0, 0)) == 255 && qBlue(face.pixel(w - 1, h - 1)) == 255)
                << name << ": corners should be outside the rounded key";
            EXPECT_GT(full, w * h / 3) << name;
            EXPECT_GT(soft, 2 * (w + h) / 3) << name << ": the edge should be anti-aliased";
            const int row = h / 2 - (h % 2 == 0 ? 1 : 0);
            // Away from the rim the middle row shows exactly the key's colour in the normal state.
            int exact = 0;
            for (int x = 0; x < w; ++x) exact += qBlue(face.pixel(x, row)) == 255 && qRed(face.pixel(x, row)) == 170;
            EXPECT_GT(exact, 0) << name;
            EXPECT_LT(greenSum, redSum) << name << ": pressed should be darker";
            if (!flat && topCount > 0 && bottomCount > 0) {
                EXPECT_GT(topRed / topCount, bottomRed / bottomCount) << name << ": lit from the top";
            }
        }
    }
}

TEST_F(ButtonLibrary, LabelsShowExactlyWhereTheirMasksAreBlack) {
    for (const auto& key : List(NameListKind::Labels)) {
        const QImage label = library_->LoadBitmap(key);
        const QImage mask = library_->LoadBitmap(key + u"_MASK");
        ASSERT_EQ(label.size(), mask.size()) << Utf8(key);
        int shown = 0;
        for (int y = 0; y < label.height(); ++y) {
            for (int x = 0; x < label.width(); ++x) {
                const QRgb m = mask.pixel(x, y), l = label.pixel(x, y);
                ASSERT_TRUE(m == qRgb(0, 0, 0) || m == qRgb(255, 255, 255)) << Utf8(key) << " mask must be 1-bit";
                if (m == qRgb(255, 255, 255)) {
                    ASSERT_EQ(l, qRgb(0, 0, 0)) << Utf8(key) << " at " << x << "," << y;
                } else {
                    ASSERT_NE(l, qRgb(0, 0, 0)) << Utf8(key) << " at " << x << "," << y;
                    ++shown;
                }
            }
        }
        EXPECT_GT(shown, 10) << Utf8(key);
        // "Select label" shows each label and its mask centred in a cell of this size; more would be cut off.
        constexpr int kSelectLabelCell = 32;
        EXPECT_LE(label.width(), kSelectLabelCell) << Utf8(key);
        EXPECT_LE(label.height(), kSelectLabelCell) << Utf8(key);
    }
}

// Keys of one table never cover the same pixel, so every key is tapped and seen whole.
TEST_F(ButtonLibrary, KeysOfEachTableDoNotOverlap) {
    for (const auto table : kTables) {
        std::vector<int> owner(240 * 320, -1);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const QImage face = library_->LoadBitmap(table[i].skin);
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x) {
                    if (qBlue(face.pixel(x, y)) == 0) continue;
                    const int px = table[i].x + x, py = table[i].y + y;
                    ASSERT_TRUE(px >= 0 && px < 240 && py >= 0 && py < 320) << Utf8(table[i].name) << " off the panel";
                    int& o = owner[std::size_t(py) * 240 + px];
                    ASSERT_EQ(o, -1) << Utf8(table[i].name) << " overlaps " << Utf8(table[std::size_t(o)].name)
                                     << " at " << px << "," << py;
                    o = int(i);
                }
            }
        }
    }
}

// The caption box lies wholly on the key at the offsets the program draws it at.
TEST_F(ButtonLibrary, CaptionBoxFitsTheFunctionKeys) {
    const QImage box = library_->LoadBitmap(u"IDB_BTNFACE");
    ASSERT_FALSE(box.isNull());
    struct Case {
        const char16_t* shape;
        QPoint offset;
    };
    for (const Case& c : {Case{u"F_LEFT", {39, 12}}, Case{u"F_RIGHT", {12, 12}}}) {
        const QImage face = library_->LoadBitmap(c.shape);
        const QRect placed(c.offset, box.size());
        ASSERT_TRUE(face.rect().contains(placed)) << Utf8(c.shape);
        for (int y = placed.top(); y <= placed.bottom(); ++y)
            for (int x = placed.left(); x <= placed.right(); ++x)
                ASSERT_EQ(qBlue(face.pixel(x, y)), 255) << Utf8(c.shape) << " at " << x << "," << y;
        // The label point is beside the box, not under it.
        const QByteArray p = *library_->Find(u"POINTS", c.shape);
        EXPECT_FALSE(placed.contains(static_cast<signed char>(p[0]), static_cast<signed char>(p[1])));
    }
}

TEST(NameLists, MissingLibraryOrListGivesAnEmptyList) {
    std::vector<std::u16string> names{u"stale"};
    EXPECT_EQ(LoadNameList(nullptr, NameListKind::Buttons, names), 0);
    EXPECT_TRUE(names.empty());
    const auto library = ResourceLibrary::FromBytes(
        shell_test::BuildLibrary({{"STRINGS/BTNLIST", shell_test::NameListBytes({"ROUND", "CHANAL"})}}));
    ASSERT_TRUE(library);
    names = {u"stale"};
    EXPECT_EQ(LoadNameList(library.get(), NameListKind::Labels, names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(LoadNameList(library.get(), NameListKind::Buttons, names), 2);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"ROUND", u"CHANAL"}));
}

}  // namespace
