#include "app/filechooser/file_chooser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include "handheld/files.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

namespace {

using orvane_test::Bytes;

std::vector<unsigned char> BytesOfSize(std::size_t size) {
    return std::vector<unsigned char>(size, 0x5A);
}

std::vector<std::u16string> Names(const std::vector<FileEntry>& entries) {
    std::vector<std::u16string> names;
    for (const auto& e : entries) names.push_back(e.name);
    return names;
}

TEST(FolderListing, PathArithmetic) {
    EXPECT_EQ(ChooserStartFolder(nullptr), u"\\My Documents");
    EXPECT_EQ(ChooserStartFolder(u""), u"\\My Documents");
    EXPECT_EQ(ChooserStartFolder(u"\\Program Files\\Orvane\\Devices\\"), u"\\Program Files\\Orvane\\Devices");
    EXPECT_EQ(ChooserStartFolder(u"\\"), u"\\");
    EXPECT_EQ(FolderDisplayName(u"\\"), u"My Device");
    EXPECT_EQ(FolderDisplayName(u"\\My Documents"), u"My Documents");
    EXPECT_EQ(FolderDisplayName(u"\\Program Files\\Orvane"), u"Orvane");
    EXPECT_EQ(ParentFolder(u"\\Program Files\\Orvane"), u"\\Program Files");
    EXPECT_EQ(ParentFolder(u"\\Program Files\\Orvane\\"), u"\\Program Files");
    EXPECT_EQ(ParentFolder(u"\\Windows"), u"\\");  // not an empty path
    EXPECT_EQ(ParentFolder(u"\\"), u"\\");
    EXPECT_EQ(JoinPath(u"\\", u"a.kdr"), u"\\a.kdr");
    EXPECT_EQ(JoinPath(u"\\Windows", u"a.kdr"), u"\\Windows\\a.kdr");
    EXPECT_EQ(JoinPath(u"\\Windows\\", u"a.kdr"), u"\\Windows\\a.kdr");
}

TEST(FolderListing, SizeAndDateTexts) {
    EXPECT_EQ(SizeText(0), u"0 B");
    EXPECT_EQ(SizeText(1023), u"1023 B");
    EXPECT_EQ(SizeText(1024), u"1 K");
    EXPECT_EQ(SizeText(2047), u"1 K");
    EXPECT_EQ(SizeText(2048), u"2 K");
    EXPECT_LE(SizeText(~std::uint64_t{0}).size(), FileEntry::kMaxSizeChars);
    // 2026-12-07 00:00 UTC in 100 ns units since 1601.
    const std::uint64_t ticks = (std::uint64_t{1796601600} + 11644473600u) * 10000000u;
    const handheld::FILETIME time{static_cast<handheld::DWORD>(ticks), static_cast<handheld::DWORD>(ticks >> 32)};
    EXPECT_EQ(ShortDateText(time), u"12/7/26");
    EXPECT_EQ(ShortDateText({0xFFFFFFFF, 0xFFFFFFFF}).size() <= FileEntry::kMaxDateChars, true);
    EXPECT_EQ(ShortDateText({0, 0}), u"1/1/01");
}

TEST(FolderListing, FilterPairsAndPatterns) {
    const auto all = ParseFileFilter(nullptr);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].displayText, u"All files(*.*)");
    EXPECT_EQ(all[0].patterns, u"*.*");
    const char16_t filter[] = u"Remote devices(*.kdr)\0*.kdr\0Pictures\0*.bmp;*.jpg;;*.gif\0\0";
    const auto pairs = ParseFileFilter(filter);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[1].displayText, u"Pictures");
    EXPECT_EQ(SplitPatterns(pairs[1].patterns), (std::vector<std::u16string>{u"*.bmp", u"*.jpg", u"*.gif"}));
    const char16_t lone[] = u"Only a text\0\0";
    const auto lonePairs = ParseFileFilter(lone);
    ASSERT_EQ(lonePairs.size(), 1u);
    EXPECT_TRUE(lonePairs[0].patterns.empty());
    std::u16string many;
    for (int i = 0; i < 30; ++i) many += u"*.x" + std::u16string(1, char16_t(u'a' + i % 26)) + u";";
    EXPECT_EQ(SplitPatterns(many).size(), kMaxPatternsPerType);
}

class ChooserTest : public testing::Test {
protected:
    ChooserTest() {
        // A new home's picture and sound folders would join the listings; these tests list their own folders.
        std::filesystem::remove_all(home.Storage() / "My Documents" / "VUDirazu back");
        std::filesystem::remove_all(home.Storage() / "My Documents" / "VUDirazu sounds");
        home.WriteFile(u"\\My Documents\\b.kdr", BytesOfSize(1024));
        home.WriteFile(u"\\My Documents\\A.kdr", BytesOfSize(1023));
        home.WriteFile(u"\\My Documents\\c.txt", BytesOfSize(2047));
        home.WriteFile(u"\\My Documents\\Zeta\\inner.kdr", Bytes("x"));
        home.WriteFile(u"\\My Documents\\alpha\\deep\\d.kdr", Bytes("x"));
    }
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
};

TEST_F(ChooserTest, FoldersFirstThenFilesEachInNameOrder) {
    const auto entries = ListFolder(u"\\My Documents", u"*.kdr;*.txt;*.KDR");
    EXPECT_EQ(Names(entries), (std::vector<std::u16string>{u"alpha", u"Zeta", u"A.kdr", u"b.kdr", u"c.txt"}));
    EXPECT_FALSE(entries[0].isFile);
    EXPECT_TRUE(entries[0].sizeText.empty());
    EXPECT_EQ(entries[2].sizeText, u"1023 B");
    EXPECT_EQ(entries[3].sizeText, u"1 K");
    EXPECT_EQ(entries[4].sizeText, u"1 K");
    EXPECT_FALSE(entries[4].dateText.empty());
    EXPECT_EQ(Names(ListFolder(u"\\My Documents\\", u"*.txt")),
              (std::vector<std::u16string>{u"alpha", u"Zeta", u"c.txt"}));
    EXPECT_TRUE(ListFolder(u"\\My Documents", u"").empty());  // a type without a pattern lists nothing
    EXPECT_TRUE(ListFolder(u"\\No such folder", u"*.*").empty());
}

FileChooserDialog::Texts ChooserTexts() {
    return {"Name", "Type", "Path", "Open", "Cancel", "Size", "Date"};
}

TEST_F(ChooserTest, OpensInMyDocumentsAndListsWithOneIconPerKind) {
    FileChooserDialog chooser(nullptr, nullptr, u"Devices and text\0*.kdr;*.txt\0\0", ChooserTexts());
    EXPECT_EQ(chooser.Folder(), u"\\My Documents");
    EXPECT_EQ(chooser.Control<QComboBox>(kChooserFolderList)->currentText(), "My Documents");
    EXPECT_EQ(chooser.Control<QComboBox>(kChooserTypeList)->currentText(), "Devices and text");
    EXPECT_EQ(chooser.Title(), "Open");
    auto& model = chooser.Listing();
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Size");
    EXPECT_EQ(model.index(2, 1).data().toString(), "1023 B");
    EXPECT_EQ(model.Entries()[0].iconIndex, -1);  // until first drawn
    for (int row = 0; row < model.rowCount(); ++row) model.index(row, 0).data(Qt::DecorationRole);
    // Folders share one icon, the two device files another, the text file a third.
    EXPECT_EQ(model.ImageList().size(), 3u);
    EXPECT_EQ(model.Entries()[0].iconIndex, model.Entries()[1].iconIndex);
    EXPECT_EQ(model.Entries()[2].iconIndex, model.Entries()[3].iconIndex);
    EXPECT_NE(model.Entries()[2].iconIndex, model.Entries()[4].iconIndex);
}

TEST_F(ChooserTest, EnteringAFolderEmptiesTheNameAndUpStopsAtTheRoot) {
    FileChooserDialog chooser(nullptr, u"\\My Documents\\", nullptr, ChooserTexts());
    auto* name = chooser.Control<QLineEdit>(kChooserNameEdit);
    name->setText("typed");
    chooser.ActivateRow(1);  // "Zeta"
    EXPECT_EQ(chooser.Folder(), u"\\My Documents\\Zeta");
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(chooser.Control<QComboBox>(kChooserFolderList)->currentText(), "Zeta");
    EXPECT_EQ(Names(chooser.Listing().Entries()), std::vector<std::u16string>{u"inner.kdr"});
    chooser.GoUp();
    chooser.GoUp();
    EXPECT_EQ(chooser.Folder(), u"\\");
    EXPECT_EQ(chooser.Control<QComboBox>(kChooserFolderList)->currentText(), "My Device");
    name->setText("kept");
    chooser.GoUp();  // nothing above the root
    EXPECT_EQ(chooser.Folder(), u"\\");
    EXPECT_EQ(name->text(), "kept");
}

TEST_F(ChooserTest, TappingAFileOpensItsPath) {
    FileChooserDialog chooser(nullptr, nullptr, nullptr, ChooserTexts());
    chooser.ActivateRow(2);  // "A.kdr"
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenPath(), u"\\My Documents\\A.kdr");
}

// Runs ChooseFile with a script that types a name and presses Open.
bool ChooseTyped(const QString& typed, char16_t* result, handheld::DWORD& capacity, const char16_t* folder) {
    handheld::QueueDialogScript([typed](handheld::HandheldDialog& dialog) {
        dialog.Control<QLineEdit>(kChooserNameEdit)->setText(typed);
        dialog.Control<QPushButton>(kChooserOpen)->click();
    });
    FileChooserRequest request;
    request.initialFolder = folder;
    request.result = result;
    request.resultCapacity = &capacity;
    return ChooseFile(request, u"Name", u"Type", u"Path", u"Open", u"Cancel", u"Size", u"Date");
}

TEST_F(ChooserTest, OpenWithATypedNameAndTheResultBuffer) {
    char16_t result[64] = {};
    handheld::DWORD capacity = 64;
    ASSERT_TRUE(ChooseTyped("new file.kdr", result, capacity, u"\\Windows"));
    EXPECT_EQ(std::u16string(result), u"\\Windows\\new file.kdr");  // need not exist
    EXPECT_EQ(capacity, 64u);

    // "\Windows\x.kdr" needs 15 characters with the terminator.
    char16_t small[15] = {};
    capacity = 14;
    EXPECT_FALSE(ChooseTyped("x.kdr", small, capacity, u"\\Windows"));
    EXPECT_EQ(capacity, 15u);
    EXPECT_EQ(small[0], u'\0');
    capacity = 15;
    EXPECT_TRUE(ChooseTyped("x.kdr", small, capacity, u"\\Windows"));
    EXPECT_EQ(std::u16string(small), u"\\Windows\\x.kdr");

    // An empty name does nothing (the script's dialog is then cancelled); so does a path too long.
    capacity = 64;
    EXPECT_FALSE(ChooseTyped("", result, capacity, nullptr));
    EXPECT_FALSE(ChooseTyped(QString(255, 'n'), result, capacity, nullptr));
}

TEST_F(ChooserTest, CancelReturnsFalse) {
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) { d.Control<QPushButton>(kChooserCancel)->click(); });
    char16_t result[64] = {u'z'};
    handheld::DWORD capacity = 64;
    FileChooserRequest request;
    request.result = result;
    request.resultCapacity = &capacity;
    EXPECT_FALSE(ChooseFile(request, u"Name", u"Type", u"Path", u"Open", u"Cancel", u"Size", u"Date"));
    EXPECT_EQ(result[0], u'z');
}

TEST_F(ChooserTest, FolderTreeShowsTheCurrentPathAndNavigates) {
    FileChooserDialog chooser(nullptr, u"\\My Documents\\alpha\\deep", nullptr, ChooserTexts());
    auto* tree = chooser.Control<QTreeWidget>(kChooserFolderTree);
    EXPECT_TRUE(tree->isHidden());
    chooser.ShowFolderTree();
    EXPECT_FALSE(tree->isHidden());
    EXPECT_EQ(tree->geometry(), QRect(39, 54, 168, 214));
    // Top level: the folders of the root.
    QStringList top;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) top << tree->topLevelItem(i)->text(0);
    EXPECT_TRUE(top.contains("My Documents"));
    EXPECT_TRUE(top.contains("Windows"));
    QTreeWidgetItem* current = tree->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), "deep");
    EXPECT_TRUE(current->parent()->isExpanded());
    EXPECT_TRUE(current->parent()->parent()->isExpanded());
    // A folder with no subfolders loses its expand button once expanded.
    current->setExpanded(true);
    EXPECT_EQ(current->childCount(), 0);
    EXPECT_EQ(current->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    // A folder not yet opened holds a placeholder until it is.
    QTreeWidgetItem* zeta = chooser.ExpandTreeTo(u"\\My Documents\\Zeta");
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(zeta->childCount(), 1);

    emit tree->itemClicked(zeta, 0);
    EXPECT_TRUE(tree->isHidden());
    EXPECT_EQ(chooser.Folder(), u"\\My Documents\\Zeta");
    EXPECT_EQ(chooser.Control<QComboBox>(kChooserFolderList)->currentText(), "Zeta");
    EXPECT_EQ(Names(chooser.Listing().Entries()), std::vector<std::u16string>{u"inner.kdr"});
    EXPECT_EQ(chooser.ExpandTreeTo(u"\\My Documents\\missing"), nullptr);
}

TEST_F(ChooserTest, TurningTheScreenLaysTheChooserOutAgain) {
    FileChooserDialog chooser(nullptr, nullptr, nullptr, ChooserTexts());
    auto* list = chooser.Control<QTreeView>(kChooserFileList);
    EXPECT_EQ(list->geometry(), QRect(0, 102, 240, 218));
    screen.Rotate();
    EXPECT_EQ(chooser.geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(list->geometry(), QRect(0, 102, 320, 138));
    EXPECT_EQ(chooser.Control(kChooserFolderTree)->geometry(), QRect(39, 54, 245, 134));
    for (int id :
         {kChooserOpen, kChooserCancel, kChooserNameEdit, kChooserTypeList, kChooserFolderList, kChooserUpButton}) {
        EXPECT_TRUE(QRect(0, 0, 320, 240).contains(chooser.Control(id)->geometry())) << id;
    }
}

}  // namespace
