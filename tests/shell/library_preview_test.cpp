// The first screen: keys composed from the library in their table colours, pressed under the stylus.
#include "app/shell/gui/library_preview.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/shell/library_builder.h"

namespace {

using handheld::ResourceLibrary;

std::unique_ptr<ResourceLibrary> Built() {
    return ResourceLibrary::FromBytes(shell_test::BuiltButtonLibrary());
}

int RowNamed(std::span<const TemplateRow> rows, std::u16string_view name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (name == rows[i].name) return int(i);
    return -1;
}

TEST(LibraryPreview, KeysShowTheirExactColourAndPressDarker) {
    const auto library = Built();
    ASSERT_TRUE(library);
    const int ch1 = RowNamed(STANDARD_RECEIVER, u"CH1");
    ASSERT_GE(ch1, 0);
    const TemplateRow& row = STANDARD_RECEIVER[std::size_t(ch1)];
    const QImage face = library->LoadBitmap(row.skin);
    // A spot on the middle row, clear of the rim and of the label.
    const QPoint spot(row.x + 7, row.y + face.height() / 2 - 1);
    const QImage normal = LibraryPreview::ComposePage(library.get(), STANDARD_RECEIVER, -1);
    const QImage pressed = LibraryPreview::ComposePage(library.get(), STANDARD_RECEIVER, ch1);
    const QColor expected(row.color & 0xFF, (row.color >> 8) & 0xFF, (row.color >> 16) & 0xFF);
    EXPECT_EQ(normal.pixelColor(spot), expected);
    EXPECT_LT(pressed.pixelColor(spot).value(), normal.pixelColor(spot).value());
    // Outside every key the background stays untouched.
    EXPECT_EQ(normal.pixelColor(0, 0), LibraryPreview::ComposePage(nullptr, STANDARD_RECEIVER, -1).pixelColor(0, 0));
}

TEST(LibraryPreview, TapsHitOnlyWhereAFaceCovers) {
    const auto library = Built();
    ASSERT_TRUE(library);
    const int f1 = RowNamed(STANDARD_RECEIVER, u"F1");
    ASSERT_GE(f1, 0);
    const TemplateRow& row = STANDARD_RECEIVER[std::size_t(f1)];
    const QImage face = library->LoadBitmap(row.skin);
    EXPECT_EQ(LibraryPreview::HitRow(library.get(), STANDARD_RECEIVER,
                                     QPoint(row.x + face.width() / 2, row.y + face.height() / 2)),
              f1);
    // The round key's corner is inside its rectangle but not on the key.
    EXPECT_EQ(LibraryPreview::HitRow(library.get(), STANDARD_RECEIVER, QPoint(row.x, row.y)), -1);
    EXPECT_EQ(LibraryPreview::HitRow(nullptr, STANDARD_RECEIVER, QPoint(row.x + 20, row.y + 20)), -1);
}

TEST(LibraryPreview, StylusPressesAKeyAndTheBarTurnsPages) {
    const auto library = Built();
    ASSERT_TRUE(library);
    handheld::HandheldScreen screen(handheld::Orientation::Portrait, nullptr);
    LibraryPreview preview(library.get(), &screen);
    EXPECT_EQ(preview.size(), QSize(240, 320));
    QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(230, 310));  // right half of the bar: forward
    EXPECT_EQ(preview.Page(), 1);
    QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(10, 310));
    QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(10, 310));
    EXPECT_EQ(preview.Page(), 2);  // back from the first wraps to the last
    screen.Rotate();
    EXPECT_EQ(preview.size(), QSize(320, 240));
}

}  // namespace
