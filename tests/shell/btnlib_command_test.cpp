// orvanectl btnlib, run as a skin author runs it.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/shell/library_builder.h"

namespace {

struct CommandRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

CommandRun Orvanectl(const QStringList& args) {
    QTemporaryDir home;
    QProcess process;
    process.start(QStringLiteral(ORVANE_BIN_DIR "/orvanectl"), QStringList{"--handheld", home.path()} + args);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QString kBuilt = QStringLiteral(ORVANE_PACKAGE_DIR "/KRBtnLib.dll");

QJsonObject Find(const QJsonArray& resources, const QString& type, const QString& name) {
    for (const auto& value : resources) {
        const QJsonObject o = value.toObject();
        if (o["type"] == type && o["name"] == name) return o;
    }
    return {};
}

TEST(BtnlibCommand, ShowListsBitmapsPointsAndLists) {
    const CommandRun run = Orvanectl({"btnlib", "show", kBuilt, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    const QJsonArray resources = doc["resources"].toArray();
    const QJsonObject face = Find(resources, "BITMAP", "CHANAL");
    EXPECT_EQ(face["width"].toInt(), 46);
    EXPECT_EQ(face["height"].toInt(), 42);
    EXPECT_EQ(Find(resources, "POINTS", "CHANAL")["bytes"].toArray(), (QJsonArray{23, 21, 21, 23}));
    const QJsonArray names = Find(resources, "STRINGS", "BTNLIST")["names"].toArray();
    EXPECT_TRUE(names.contains("CHANAL"));
    EXPECT_FALSE(doc.contains("missing"));  // only asked for with --check
}

TEST(BtnlibCommand, CheckPassesForTheBuiltLibraryAndNamesWhatALibraryLacks) {
    const CommandRun complete = Orvanectl({"btnlib", "show", kBuilt, "--check", "--json"});
    EXPECT_EQ(complete.exitCode, 0) << complete.out.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(complete.out).object()["missing"].toArray(), QJsonArray());

    QTemporaryDir dir;
    const QString partial = dir.filePath("partial.dll");
    shell_test::WriteHostFile(
        partial,
        shell_test::BuildLibrary({{"STRINGS/BTNLIST", shell_test::NameListBytes({"MYKEY"})},
                                  {"BITMAP/MYKEY.bmp", shell_test::BmpBytes(QImage(4, 4, QImage::Format_RGB888))}}));
    const CommandRun run = Orvanectl({"btnlib", "show", partial, "--check", "--json"});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray missing = QJsonDocument::fromJson(run.out).object()["missing"].toArray();
    auto lacks = [&](const char* type, const char* name) {
        return missing.contains(QJsonObject{{"type", type}, {"name", name}});
    };
    EXPECT_TRUE(lacks("BITMAP", "FLAT_MYKEY"));  // a listed shape needs its flat face
    EXPECT_TRUE(lacks("POINTS", "MYKEY"));
    EXPECT_FALSE(lacks("BITMAP", "MYKEY"));
    EXPECT_TRUE(lacks("BITMAP", "CHANAL"));  // the device tables' needs
    EXPECT_TRUE(lacks("BITMAP", "LABELPW_MASK"));
    EXPECT_TRUE(lacks("BITMAP", "IDB_BTNFACE"));
    EXPECT_TRUE(lacks("STRINGS", "LABELLIST"));
    EXPECT_FALSE(lacks("STRINGS", "BTNLIST"));
}

TEST(BtnlibCommand, SheetDrawsEveryPicture) {
    QTemporaryDir dir;
    const QString sheet = dir.filePath("sheet.png");
    const CommandRun run = Orvanectl({"btnlib", "sheet", kBuilt, "--out", sheet});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(sheet);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.height(), 600);  // well over a hundred pictures

    // Where the sheet cannot go, the tool says so and leaves what stands there alone.
    const QString blocked = dir.filePath("blocked");
    shell_test::WriteHostFile(blocked, "a file, not a folder");
    const CommandRun refused = Orvanectl({"btnlib", "sheet", kBuilt, "--out", blocked + "/sheet.png"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("cannot write")) << refused.err.toStdString();
    QFile kept(blocked);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "a file, not a folder");
}

TEST(BtnlibCommand, RefusesWhatIsNoLibraryAndBadUsage) {
    QTemporaryDir dir;
    const QString text = dir.filePath("note.txt");
    shell_test::WriteHostFile(text, "not a library");
    const CommandRun notLibrary = Orvanectl({"btnlib", "show", text});
    EXPECT_EQ(notLibrary.exitCode, 1);
    EXPECT_TRUE(notLibrary.err.contains("not a binary resource file")) << notLibrary.err.toStdString();
    EXPECT_EQ(Orvanectl({"btnlib", "show", dir.filePath("none.dll")}).exitCode, 1);
    EXPECT_EQ(Orvanectl({"btnlib", "sheet", kBuilt}).exitCode, 2);  // no --out
    EXPECT_EQ(Orvanectl({"btnlib", "list", kBuilt}).exitCode, 2);
}

}  // namespace
