// The "Button properties" dialog on a receiver device: the learn button's steps, pauses in macros, copying
// from another device file, Reset, OK and Cancel, and the stores refused because they could never be sent or
// saved.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "app/filechooser/file_chooser.h"
#include "app/ir/gui/button_properties_dialog.h"
#include "app/ir/gui/pause_dialog.h"
#include "app/ir/learning.h"
#include "app/model/device_creation.h"
#include "app/model/gui/hint_request.h"
#include "tests/learn/learn_home.h"
#include "tests/support/ir_frames.h"

namespace learn_test {
namespace {

using D = ButtonPropertiesDialog;

const std::vector<std::int32_t> kFrame = orvane_test::PulseDistanceFrame(0x20DF10EF);
const std::vector<std::int32_t> kOtherFrame = orvane_test::PulseDistanceFrame(0x10EF8877);

class ButtonProperties : public LearnHome {
protected:
    ButtonProperties() {
        AddDevice(u"Lab", DT_RECEIVER);
        EXPECT_TRUE(Open(u"Lab"));
    }
    QString Caption(const D& dialog) const { return dialog.Control<QPushButton>(D::kLearn)->text(); }
    void Learn(D& dialog) { dialog.Control<QPushButton>(D::kLearn)->click(); }
    static void AnswerPause(int milliseconds) {
        handheld::QueueDialogScript([milliseconds](handheld::HandheldDialog& pause) {
            ASSERT_EQ(pause.ResourceId(), PauseDialog::kResourceId);
            pause.Control<QSlider>(PauseDialog::kSlider)->setValue(milliseconds);
            pause.Control<QPushButton>(milliseconds < 0 ? PauseDialog::kCancel : PauseDialog::kOk)->click();
        });
    }
    void SetEntries(std::u16string_view name, int count) {
        auto record = state.device.FindRecord(name);
        ASSERT_NE(record, state.device.records.end());
        for (int i = 0; i < count; ++i) {
            const std::uint8_t samples[] = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
            ASSERT_TRUE(record->SetEntry(i, samples, sizeof samples, 26, 0));
        }
    }
    std::size_t SampleBytes(const ButtonRecord& record, int index) const {
        const std::uint8_t* samples = nullptr;
        std::size_t bytes = 0;
        std::uint8_t high = 0, low = 0;
        EXPECT_TRUE(record.GetEntry(index, samples, bytes, high, low) || bytes == 0) << index;
        return bytes;
    }
};

TEST_F(ButtonProperties, OpensWithTextsAndTheRecordsCommandName) {
    state.device.FindRecord(u"CH1")->commandName = u"One";
    std::vector<std::pair<int, int>> hints;
    const HintHandler previous = SetHintHandler([&](QWidget*, int hint, int second) {
        hints.push_back({hint, second});
    });
    D dialog(nullptr, state, panels, u"CH1");
    SetHintHandler(previous);
    EXPECT_EQ(hints, (std::vector<std::pair<int, int>>{{30, 31}}));
    EXPECT_EQ(dialog.Title(), "Button properties");
    EXPECT_EQ(dialog.Control<QLineEdit>(D::kNameEdit)->text(), "One");
    EXPECT_EQ(dialog.Control<QRadioButton>(D::kLearnFromIr)->text(), "Learn from IR source");
    EXPECT_TRUE(dialog.Control<QRadioButton>(D::kLearnFromIr)->isChecked());
    EXPECT_EQ(dialog.Control<QRadioButton>(D::kSelectFromFile)->text(), "Select from file:");
    EXPECT_EQ(dialog.Control<QPushButton>(D::kReset)->text(), "Reset cmd");
    EXPECT_EQ(Caption(dialog), "Read cmd 1");
    EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_TRUE(dialog.Control(D::kLabel)->isEnabled());
    for (int id : {D::kFilePath, D::kBrowse, D::kCodeList}) EXPECT_FALSE(dialog.Control(id)->isEnabled()) << id;
    EXPECT_EQ(dialog.PreviewRect(), QRect(180, 30, 50, 40));
    screen.Rotate();
    EXPECT_EQ(dialog.PreviewRect(), QRect(265, 30, 50, 40));
    EXPECT_EQ(dialog.Control(D::kOk)->geometry(), QRect(190, 208, 60, 20));
}

TEST_F(ButtonProperties, LearnButtonStartsByTheNumberOfEntries) {
    SetEntries(u"CH2", 2);
    SetEntries(u"CH3", 4);
    D two(nullptr, state, panels, u"CH2");
    EXPECT_EQ(Caption(two), "Learned");
    EXPECT_EQ(two.NextStep(), kAllLearned);
    for (int id : {D::kLearn, D::kHasMacros, D::kLearnFromIr, D::kSelectFromFile}) {
        EXPECT_FALSE(two.Control(id)->isEnabled()) << id;
    }
    EXPECT_FALSE(two.Control<QCheckBox>(D::kHasMacros)->isChecked());
    D four(nullptr, state, panels, u"CH3");
    EXPECT_EQ(Caption(four), "Learned");
    EXPECT_TRUE(four.Control<QCheckBox>(D::kHasMacros)->isChecked());
}

TEST_F(ButtonProperties, OneCodeOpensAtReadCmd2AndStoresEntry1) {
    SetEntries(u"CH1", 1);
    PointRemote({SignalLine(kFrame)});
    D dialog(nullptr, state, panels, u"CH1");
    EXPECT_EQ(Caption(dialog), "Read cmd 2");
    EXPECT_EQ(dialog.NextStep(), 1);
    Learn(dialog);
    EXPECT_TRUE(boxes.Shown().empty()) << "a signal was there";
    EXPECT_EQ(Caption(dialog), "Learned");
    EXPECT_FALSE(dialog.Control(D::kLearn)->isEnabled());
    ASSERT_EQ(state.device.workRecord.EntryCount(), 2u);
    EXPECT_EQ(SampleBytes(state.device.workRecord, 0), 8u) << "the old entry 0 is kept";
    EXPECT_EQ(SampleBytes(state.device.workRecord, 1), kFrame.size() * 4);
    EXPECT_EQ(Record(u"CH1")->EntryCount(), 1u) << "only OK writes the record";
}

TEST_F(ButtonProperties, NoSignalForASingleCodeWarnsAndStaysAtTheStep) {
    D dialog(nullptr, state, panels, u"CH1");
    Learn(dialog);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"Can't get IR signal. Try again!");
    EXPECT_EQ(boxes.Shown()[0].caption, u"Warning");
    EXPECT_EQ(Caption(dialog), "Read cmd 1");
    EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_EQ(state.device.workRecord.EntryCount(), 0u);
}

TEST_F(ButtonProperties, SilentMacroStepBecomesAPauseOf1500Ms) {
    SetEntries(u"CH1", 1);
    PointRemote({SignalLine(kFrame)});
    D dialog(nullptr, state, panels, u"CH1");
    dialog.Control<QCheckBox>(D::kHasMacros)->setChecked(true);
    // Step "Read cmd 2" with macros is the macro's second step, entry 3; the first learns entry 2 first.
    dialog.Control(D::kLearn)->setProperty("nextStep", 0u);
    Learn(dialog);  // entry 2 from the remote
    EXPECT_EQ(Caption(dialog), "Read cmd 2");
    AnswerPause(1500);
    Learn(dialog);  // silence: entry 3 as a pause
    EXPECT_EQ(Caption(dialog), "Read cmd 3");
    const ButtonRecord& work = state.device.workRecord;
    const std::uint8_t* samples = nullptr;
    std::size_t bytes = 1;
    std::uint8_t high = 0, low = 0;
    ASSERT_FALSE(work.GetEntry(3, samples, bytes, high, low));
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(high, 5);
    EXPECT_EQ(low, 220);
    EXPECT_EQ(high * 256 + low, 1500);
    EXPECT_EQ(SampleBytes(work, 0), 0u) << "the macro emptied the single command";
    EXPECT_EQ(SampleBytes(work, 1), 0u);
    EXPECT_EQ(SampleBytes(work, 2), kFrame.size() * 4);
}

TEST_F(ButtonProperties, CancelledPauseKeepsTheSingleCommand) {
    SetEntries(u"CH1", 1);
    D dialog(nullptr, state, panels, u"CH1");
    dialog.Control<QCheckBox>(D::kHasMacros)->setChecked(true);
    AnswerPause(-1);
    Learn(dialog);
    EXPECT_EQ(PauseLength(), -1);
    EXPECT_EQ(Caption(dialog), "Read cmd 2") << "same caption, same step";
    EXPECT_EQ(dialog.NextStep(), 1);
    EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    ASSERT_EQ(state.device.workRecord.EntryCount(), 1u);
    EXPECT_EQ(SampleBytes(state.device.workRecord, 0), 8u);
}

TEST_F(ButtonProperties, MacroWalksThroughReadCmd3AndReadCmd4) {
    PointRemote({SignalLine(kFrame), SignalLine(kOtherFrame), SignalLine(kFrame)});
    D dialog(nullptr, state, panels, u"CH1");
    dialog.Control<QCheckBox>(D::kHasMacros)->setChecked(true);
    const QString expected[] = {"Read cmd 2", "Read cmd 3", "Read cmd 4"};
    for (const QString& caption : expected) {
        Learn(dialog);
        EXPECT_EQ(Caption(dialog), caption);
        EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    }
    const ButtonRecord& work = state.device.workRecord;
    EXPECT_EQ(work.EntryCount(), 5u);
    for (int index : {2, 3, 4}) EXPECT_EQ(SampleBytes(work, index), kFrame.size() * 4) << index;
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ButtonProperties, CopyOverwritesSameIndicesAndKeepsHigherOnes) {
    Device other = MakeStandardDevice(u"Other", DT_RECEIVER);
    auto source = other.FindRecord(u"CH5");
    source->commandName = u"Five";
    const std::uint8_t code[] = {0x10, 0x27, 0, 0};
    ASSERT_TRUE(source->SetEntry(0, code, sizeof code, 27, 1));
    ASSERT_TRUE(source->SetEntry(1, nullptr, 0, 1, 44));
    other.FindRecord(u"CH6")->commandName = u"Six";
    const std::u16string path = DeviceFolder() + u"Other.kdr";
    ASSERT_TRUE(other.Save(false, path));
    SetEntries(u"CH1", 2);
    state.device.FindRecord(u"CH1")->SetEntry(2, nullptr, 0, 0, 99);

    D dialog(nullptr, state, panels, u"CH1");
    EXPECT_FALSE(dialog.Control(D::kSelectFromFile)->isEnabled()) << "a learned command is reset first";
    ButtonRecord& work = state.device.workRecord;
    dialog.Control<QLineEdit>(D::kFilePath)->setText(QString::fromStdU16String(path));
    dialog.ListCodesOfFile();
    auto* codes = dialog.Control<QComboBox>(D::kCodeList);
    ASSERT_EQ(codes->count(), 2);
    EXPECT_EQ(codes->itemText(0), "Five");
    EXPECT_EQ(codes->itemText(1), "Six");
    dialog.CopyCodesFromFile("Five");
    ASSERT_EQ(work.EntryCount(), 3u);
    const std::uint8_t* samples = nullptr;
    std::size_t bytes = 0;
    std::uint8_t high = 0, low = 0;
    ASSERT_TRUE(work.GetEntry(0, samples, bytes, high, low));
    EXPECT_EQ(bytes, 4u);
    EXPECT_EQ(high, 27);
    EXPECT_FALSE(work.GetEntry(1, samples, bytes, high, low)) << "a pause stays a pause";
    EXPECT_EQ(low, 44);
    EXPECT_FALSE(work.GetEntry(2, samples, bytes, high, low));
    EXPECT_EQ(low, 99) << "higher entries stay";

    dialog.Control<QLineEdit>(D::kFilePath)->setText("\\nowhere.kdr");
    dialog.ListCodesOfFile();
    EXPECT_EQ(codes->count(), 0) << "an unreadable file lists nothing";
}

TEST_F(ButtonProperties, BrowsedFileListsItsCodesAndAnOversizedCopyIsRefused) {
    Device other = MakeStandardDevice(u"Huge", DT_RECEIVER);
    auto source = other.FindRecord(u"CH7");
    source->commandName = u"Endless";
    for (int index = 0; index < kFirstMacroIndex + static_cast<int>(kMaxMacroSteps) + 1; ++index) {
        ASSERT_TRUE(source->SetEntry(index, nullptr, 0, 0, 50));
    }
    ASSERT_TRUE(other.Save(false, DeviceFolder() + u"Huge.kdr"));
    SetEntries(u"CH1", 1);
    D dialog(nullptr, state, panels, u"CH1");
    dialog.Control<QRadioButton>(D::kSelectFromFile)->setChecked(true);
    handheld::QueueDialogScript([](handheld::HandheldDialog& chooser) {
        chooser.Control<QLineEdit>(kChooserNameEdit)->setText("Huge.kdr");
        chooser.Control<QPushButton>(kChooserOpen)->click();
    });
    dialog.Control<QPushButton>(D::kBrowse)->click();
    EXPECT_TRUE(dialog.Control<QLineEdit>(D::kFilePath)->text().endsWith("Devices\\Huge.kdr"))
        << dialog.Control<QLineEdit>(D::kFilePath)->text().toStdString();
    auto* codes = dialog.Control<QComboBox>(D::kCodeList);
    ASSERT_EQ(codes->count(), 1);
    dialog.CopyCodesFromFile("Endless");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"The command can't hold more codes.");
    EXPECT_EQ(Caption(dialog), "Learned");
    EXPECT_EQ(state.device.workRecord.EntryCount(), 1u) << "nothing of the refused copy is kept";
}

TEST_F(ButtonProperties, RadioButtonsSwapLearningAndCopying) {
    D dialog(nullptr, state, panels, u"CH1");
    dialog.Control<QRadioButton>(D::kSelectFromFile)->setChecked(true);
    EXPECT_FALSE(dialog.Control<QRadioButton>(D::kLearnFromIr)->isChecked());
    for (int id : {D::kFilePath, D::kBrowse, D::kCodeList}) EXPECT_TRUE(dialog.Control(id)->isEnabled()) << id;
    EXPECT_FALSE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_FALSE(dialog.Control(D::kHasMacros)->isEnabled());
    dialog.Control<QRadioButton>(D::kLearnFromIr)->setChecked(true);
    EXPECT_FALSE(dialog.Control<QRadioButton>(D::kSelectFromFile)->isChecked());
    EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_TRUE(dialog.Control(D::kHasMacros)->isEnabled());
}

TEST_F(ButtonProperties, CancelLeavesTheRecordUnchanged) {
    PointRemote({SignalLine(kFrame)});
    state.device.FindRecord(u"CH1")->commandName = u"Before";
    handheld::QueueDialogScript([this](handheld::HandheldDialog& shown) {
        shown.Control<QLineEdit>(D::kNameEdit)->setText("After");
        shown.Control<QPushButton>(D::kLearn)->click();
        EXPECT_EQ(state.device.workRecord.EntryCount(), 1u);
        shown.Control<QPushButton>(D::kCancel)->click();
    });
    EXPECT_EQ(RunButtonPropertiesDialog(nullptr, state, panels, u"CH1"), QDialog::Rejected);
    EXPECT_EQ(Record(u"CH1")->commandName, u"Before");
    EXPECT_EQ(Record(u"CH1")->EntryCount(), 0u);
    EXPECT_EQ(panels.mainPanel.FindButton(u"CH1")->caption, u"");
}

TEST_F(ButtonProperties, OkWritesCommandsNameAndTheButton) {
    PointRemote({SignalLine(kFrame)});
    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        shown.Control<QLineEdit>(D::kNameEdit)->setText("Power");
        shown.Control<QPushButton>(D::kLearn)->click();
        shown.Control<QPushButton>(D::kOk)->click();
    });
    EXPECT_EQ(RunButtonPropertiesDialog(nullptr, state, panels, u"PW"), D::kOk);
    EXPECT_EQ(Record(u"PW")->commandName, u"Power");
    ASSERT_EQ(Record(u"PW")->EntryCount(), 1u);
    EXPECT_EQ(SampleBytes(*Record(u"PW"), 0), kFrame.size() * 4);
    EXPECT_EQ(panels.mainPanel.FindButton(u"PW")->caption, u"Power");
}

TEST_F(ButtonProperties, OkKeepsColourAndLabelInTheButtonsOwnRecord) {
    // F1 on the main panel learns into FUNC1, yet its colour and label are its own.
    PointRemote({SignalLine(kFrame)});
    panels.mainPanel.FindButton(u"F1")->label = u"LABELF1";
    ButtonPropertiesDialog dialog(nullptr, state, panels, u"F1");
    ASSERT_EQ(dialog.EditedColor(), Record(u"F1")->color);
    const std::uint32_t oldFuncColor = Record(u"FUNC1")->color;
    dialog.Control<QLineEdit>(D::kNameEdit)->setText("Fav");
    // The colour chooser answers through its script: pure green.
    handheld::QueueDialogScript([](handheld::HandheldDialog& chooser) {
        chooser.findChild<QColorDialog*>()->setCurrentColor(QColor(0, 255, 0));
        chooser.accept();
    });
    dialog.Control<QPushButton>(D::kColor)->click();
    EXPECT_EQ(dialog.EditedColor(), 0x0000FF00u);
    handheld::ClearDialogScripts();
    dialog.Control<QPushButton>(D::kLearn)->click();
    dialog.Control<QPushButton>(D::kOk)->click();
    EXPECT_EQ(Record(u"FUNC1")->EntryCount(), 1u);
    EXPECT_EQ(Record(u"FUNC1")->commandName, u"Fav");
    EXPECT_EQ(Record(u"FUNC1")->color, oldFuncColor);
    EXPECT_EQ(Record(u"F1")->color, 0x0000FF00u);
    EXPECT_EQ(Record(u"F1")->label, u"LABELF1");
    EXPECT_EQ(panels.mainPanel.FindButton(u"F1")->color, 0x0000FF00u);
}

TEST_F(ButtonProperties, LabelChosenInSelectLabelReachesTheButtonOnOk) {
    panels.mainPanel.FindButton(u"CH2")->label = u"LABEL2";
    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        shown.Control<QPushButton>(D::kLabel)->click();  // "Select label" takes the next script
        EXPECT_EQ(static_cast<D&>(shown).EditedLabel(), u"");
        shown.Control<QPushButton>(D::kOk)->click();
    });
    handheld::QueueDialogScript([](handheld::HandheldDialog& labels) {
        auto* list = labels.findChild<QListWidget*>(QStringLiteral("1016"));
        ASSERT_NE(list->currentItem(), nullptr) << "the button's label starts selected";
        list->clearSelection();
        labels.Control<QPushButton>(1)->click();
    });
    EXPECT_EQ(RunButtonPropertiesDialog(nullptr, state, panels, u"CH2"), D::kOk);
    EXPECT_EQ(panels.mainPanel.FindButton(u"CH2")->label, u"") << "nothing selected removes the label";
    EXPECT_EQ(Record(u"CH2")->label, u"");
}

TEST_F(ButtonProperties, MissingRecordCannotLearnAndOkChangesNothing) {
    state.device.records.erase(state.device.FindRecord(u"CH1"));
    const std::size_t records = state.device.records.size();
    D dialog(nullptr, state, panels, u"CH1");
    EXPECT_FALSE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_FALSE(dialog.Control(D::kLearnFromIr)->isEnabled());
    EXPECT_EQ(dialog.LearnEntry(u"CH1", 0), D::LearnResult::Failed);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"Can't find record");
    EXPECT_EQ(boxes.Shown()[0].caption, u"Error");
    EXPECT_EQ(boxes.Shown()[0].owner, nullptr);
    dialog.Control<QLineEdit>(D::kNameEdit)->setText("Ghost");
    dialog.Control<QPushButton>(D::kOk)->click();
    EXPECT_EQ(state.device.records.size(), records);
    EXPECT_EQ(panels.mainPanel.FindButton(u"CH1")->caption, u"");
}

TEST_F(ButtonProperties, ResetAsksAndOnlyYesClears) {
    SetEntries(u"CH1", 4);
    D dialog(nullptr, state, panels, u"CH1");
    boxes.QueueAnswer(handheld::IDNO);
    dialog.Control<QPushButton>(D::kReset)->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"Clear command set?");
    EXPECT_EQ(boxes.Shown()[0].flags & 0xF, static_cast<unsigned>(handheld::MB_YESNO));
    EXPECT_EQ(state.device.workRecord.EntryCount(), 4u);
    EXPECT_EQ(Caption(dialog), "Learned");

    boxes.QueueAnswer(handheld::IDYES);
    dialog.Control<QPushButton>(D::kReset)->click();
    EXPECT_EQ(state.device.workRecord.EntryCount(), 0u);
    EXPECT_EQ(Caption(dialog), "Read cmd 1");
    EXPECT_EQ(dialog.NextStep(), 0);
    EXPECT_TRUE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_TRUE(dialog.Control<QRadioButton>(D::kLearnFromIr)->isChecked());
    EXPECT_TRUE(dialog.Control(D::kSelectFromFile)->isEnabled());
    EXPECT_FALSE(dialog.Control<QRadioButton>(D::kSelectFromFile)->isChecked());
    EXPECT_TRUE(dialog.Control(D::kHasMacros)->isEnabled());
    EXPECT_FALSE(dialog.Control<QCheckBox>(D::kHasMacros)->isChecked());
    EXPECT_EQ(Record(u"CH1")->EntryCount(), 4u) << "the record waits for OK";
}

TEST_F(ButtonProperties, FunctionPanelsLabelButtonIsDisabled) {
    state.functionPanelShown = true;
    D dialog(nullptr, state, panels, u"FUNC3");
    EXPECT_FALSE(dialog.Control(D::kLabel)->isEnabled());
    EXPECT_TRUE(dialog.Control(D::kColor)->isEnabled());
}

TEST_F(ButtonProperties, MacroPastTheSendersStepsIsRefusedAndShowsLearned) {
    // A full macro as the file holds it: two empty alternates, then 100 steps.
    auto record = state.device.FindRecord(u"CH1");
    for (int index = 0; index < kFirstMacroIndex + static_cast<int>(kMaxMacroSteps); ++index) {
        ASSERT_TRUE(record->SetEntry(index, nullptr, 0, 0, index < kFirstMacroIndex ? 0 : 100));
    }
    D dialog(nullptr, state, panels, u"CH1");
    // Learn one more step of the full macro: back to the step after the last one.
    dialog.Control<QCheckBox>(D::kHasMacros)->setEnabled(true);
    dialog.Control<QCheckBox>(D::kHasMacros)->setChecked(true);
    dialog.Control(D::kLearn)->setProperty("nextStep", static_cast<unsigned>(kMaxMacroSteps));
    dialog.Control(D::kLearn)->setEnabled(true);
    PointRemote({SignalLine(kFrame)});
    Learn(dialog);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"The command can't hold more codes.");
    EXPECT_EQ(Caption(dialog), "Learned");
    EXPECT_FALSE(dialog.Control(D::kLearn)->isEnabled());
    EXPECT_EQ(state.device.workRecord.EntryCount(), kMaxMacroSteps + 2);
}

TEST(PauseDialogTest, SliderRangeLabelAndResult) {
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    PauseDialog dialog(nullptr);
    EXPECT_EQ(dialog.Title(), "No signal!");
    QSlider* slider = dialog.Slider();
    EXPECT_EQ(slider->minimum(), 50);
    EXPECT_EQ(slider->maximum(), 2000);
    slider->setValue(730);
    EXPECT_EQ(dialog.Control<QLabel>(PauseDialog::kPosition)->text(), "730 msec");
    slider->setValue(5000);
    EXPECT_EQ(dialog.Control<QLabel>(PauseDialog::kPosition)->text(), "2000 msec");
    EXPECT_EQ(dialog.Control<QLabel>(PauseDialog::kMinLabel)->text(), "50");

    handheld::QueueDialogScript([](handheld::HandheldDialog& d) {
        d.Control<QSlider>(PauseDialog::kSlider)->setValue(640);
        d.Control<QPushButton>(PauseDialog::kOk)->click();
    });
    EXPECT_TRUE(AskForPause(nullptr));
    EXPECT_EQ(PauseLength(), 640);
    handheld::QueueDialogScript(
        [](handheld::HandheldDialog& d) { d.Control<QPushButton>(PauseDialog::kCancel)->click(); });
    EXPECT_FALSE(AskForPause(nullptr));
    EXPECT_EQ(PauseLength(), -1);
}

}  // namespace
}  // namespace learn_test
