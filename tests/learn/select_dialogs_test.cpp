// "Select button" and "Select label" with the real button library: browsing the skins, the new button and
// its record, and the chosen label.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/panel/name_lists.h"
#include "app/panel/select_button_dialog.h"
#include "app/panel/select_label_dialog.h"
#include "tests/learn/learn_home.h"

namespace learn_test {
namespace {

using B = SelectButtonDialog;
using L = SelectLabelDialog;

class SelectDialogs : public LearnHome {
protected:
    SelectDialogs() {
        AddDevice(u"Mine", DT_CUSTOM);
        EXPECT_TRUE(Open(u"Mine"));
        LoadNameList(library.get(), NameListKind::Buttons, skins);
        LoadNameList(library.get(), NameListKind::Labels, labels);
    }
    void Click(handheld::HandheldDialog& dialog, int id) { dialog.Control<QPushButton>(id)->click(); }

    std::vector<std::u16string> skins;
    std::vector<std::u16string> labels;
};

TEST_F(SelectDialogs, BrowsingStopsAtBothEndsAndFlatIsTheDefault) {
    ASSERT_GE(skins.size(), 3u);
    B dialog(nullptr, state, panels, *artwork, QPoint(37, 81), {});
    EXPECT_EQ(dialog.Control<QLineEdit>(B::kHorizontal)->text(), "37");
    EXPECT_EQ(dialog.Control<QLineEdit>(B::kVertical)->text(), "81");
    EXPECT_FALSE(dialog.Control<QCheckBox>(B::kThreeD)->isChecked());
    EXPECT_EQ(dialog.PreviewButton().skinName, u"FLAT_" + skins[0]);
    Click(dialog, B::kPrevious);
    EXPECT_EQ(dialog.PreviewIndex(), 0);
    Click(dialog, B::kNext);
    EXPECT_EQ(dialog.PreviewIndex(), 1);
    Click(dialog, B::kLast);
    EXPECT_EQ(dialog.PreviewIndex(), dialog.Count() - 1);
    Click(dialog, B::kNext);
    EXPECT_EQ(dialog.PreviewIndex(), dialog.Count() - 1);
    Click(dialog, B::kPrevious);
    EXPECT_EQ(dialog.PreviewIndex(), dialog.Count() - 2);
    Click(dialog, B::kFirst);
    EXPECT_EQ(dialog.PreviewIndex(), 0);
    dialog.Control<QCheckBox>(B::kThreeD)->click();
    EXPECT_EQ(dialog.PreviewButton().skinName, skins[0]);
}

TEST_F(SelectDialogs, PreviewIsCentredInItsArea) {
    B dialog(nullptr, state, panels, *artwork, QPoint(0, 0), {});
    const FaceButton& preview = dialog.PreviewButton();
    ASSERT_GT(preview.width, 0);
    EXPECT_EQ(preview.name, u"CUSTOM$");
    EXPECT_EQ(preview.color, B::kPreviewColor);
    EXPECT_EQ(preview.x, (238 - preview.width) / 2);
    EXPECT_EQ(preview.y, (100 + 225 - preview.height) / 2);
    screen.Rotate();
    dialog.Control<QPushButton>(B::kNext)->click();
    EXPECT_EQ(dialog.PreviewButton().y, (75 + 182 - dialog.PreviewButton().height) / 2);
    EXPECT_EQ(dialog.Control(B::kOk)->geometry(), QRect(255, 137, 60, 20));
}

TEST_F(SelectDialogs, OkAddsAMovingCustomButtonWithItsRecord) {
    const std::size_t records = state.device.records.size();
    int moves = 0;
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) {
        d.Control<QPushButton>(B::kNext)->click();
        d.Control<QLineEdit>(B::kHorizontal)->setText("20");
        d.Control<QLineEdit>(B::kVertical)->setText("30");
        d.Control<QPushButton>(B::kOk)->click();
    });
    EXPECT_EQ(RunSelectButtonDialog(nullptr, state, panels, *artwork, QPoint(5, 6), [&] { ++moves; }),
              QDialog::Accepted);
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) { d.Control<QPushButton>(B::kOk)->click(); });
    RunSelectButtonDialog(nullptr, state, panels, *artwork, QPoint(5, 6), [&] { ++moves; });
    EXPECT_EQ(moves, 2);
    const FaceButton* first = panels.mainPanel.FindButton(u"CUSTOM$0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->skinName, u"FLAT_" + skins[1]);
    EXPECT_EQ(first->x, 20);
    EXPECT_EQ(first->y, 30);
    ASSERT_NE(panels.mainPanel.FindButton(u"CUSTOM$1"), nullptr);
    EXPECT_EQ(state.pressedName, u"CUSTOM$1");
    ASSERT_EQ(state.device.records.size(), records + 2);
    const ButtonRecord& record = state.device.records[records];
    EXPECT_EQ(record.name, u"CUSTOM$0");
    EXPECT_EQ(record.skin, u"FLAT_" + skins[1]);
    EXPECT_EQ(record.color, B::kPreviewColor);
    EXPECT_EQ(record.x, 20);
    EXPECT_EQ(record.y, 30);
    EXPECT_EQ(record.panel, 0);
    EXPECT_EQ(record.EntryCount(), 0u);
}

TEST_F(SelectDialogs, TypedPositionsStayOnThePanel) {
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) {
        d.Control<QLineEdit>(B::kHorizontal)->setText("-40");
        d.Control<QLineEdit>(B::kVertical)->setText("9000");
        d.Control<QPushButton>(B::kOk)->click();
    });
    RunSelectButtonDialog(nullptr, state, panels, *artwork, QPoint(5, 6));
    const ButtonRecord& record = state.device.records.back();
    ASSERT_EQ(record.name, u"CUSTOM$0");
    const FaceButton* added = panels.mainPanel.FindButton(u"CUSTOM$0");
    EXPECT_EQ(record.x, 0);
    EXPECT_EQ(record.y, kPictureHeightPx - added->height);
}

TEST_F(SelectDialogs, OkWithoutAnySkinAddsNothing) {
    LibraryArtwork empty(nullptr);
    const std::size_t records = state.device.records.size();
    B dialog(nullptr, state, panels, empty, QPoint(1, 1), {});
    EXPECT_EQ(dialog.Count(), 0);
    dialog.Control<QPushButton>(B::kOk)->click();
    EXPECT_EQ(state.device.records.size(), records);
    EXPECT_TRUE(panels.mainPanel.buttons.empty());
}

TEST_F(SelectDialogs, LabelListSelectsTheButtonsLabelAndOkTakesTheChoice) {
    ASSERT_GE(labels.size(), 2u);
    L dialog(nullptr, *artwork, labels[1]);
    QListWidget* list = dialog.List();
    ASSERT_EQ(list->count(), static_cast<int>(labels.size()));
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(dialog.LabelOf(list->currentItem()), labels[1]);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
    list->setCurrentRow(0);
    PendingLabel() = u"old";
    dialog.Control<QPushButton>(L::kOk)->click();
    EXPECT_EQ(PendingLabel(), labels[0]);
}

TEST_F(SelectDialogs, NothingSelectedRemovesTheLabelAndCancelKeepsIt) {
    L none(nullptr, *artwork, u"");
    EXPECT_EQ(none.List()->currentItem(), nullptr) << "an empty label selects nothing";
    PendingLabel() = u"LABELF1";
    none.Control<QPushButton>(L::kOk)->click();
    EXPECT_EQ(PendingLabel(), u"");

    PendingLabel() = u"LABELF1";
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) { d.Control<QPushButton>(L::kCancel)->click(); });
    EXPECT_FALSE(RunSelectLabelDialog(nullptr, *artwork, labels[0]));
    EXPECT_EQ(PendingLabel(), u"LABELF1");
}

TEST_F(SelectDialogs, SelectedLabelIsDrawnWithTheRedFrame) {
    L dialog(nullptr, *artwork, labels[0]);
    const QImage selected = dialog.List()->item(0)->icon().pixmap(32, 32).toImage();
    ASSERT_FALSE(selected.isNull());
    EXPECT_EQ(QColor(selected.pixel(1, 1)), QColor(Qt::red));
    dialog.List()->setCurrentRow(1);
    const QImage plain = dialog.List()->item(0)->icon().pixmap(32, 32).toImage();
    EXPECT_NE(QColor(plain.pixel(1, 1)), QColor(Qt::red)) << "the frame leaves with the selection";
}

}  // namespace
}  // namespace learn_test
