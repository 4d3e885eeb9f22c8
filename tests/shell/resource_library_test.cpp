#include "handheld/shell/resource_library.h"

#include <gtest/gtest.h>

#include <QFile>
#include <random>

#include "tests/shell/library_builder.h"
#include "tests/support/test_home.h"

namespace {

using handheld::ResourceLibrary;
using shell_test::BmpBytes;
using shell_test::BuildLibrary;

QImage Filled(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(color);
    return image;
}

std::unique_ptr<ResourceLibrary> Small(QColor faceColor = Qt::red) {
    return ResourceLibrary::FromBytes(BuildLibrary({{"BITMAP/FACE.bmp", BmpBytes(Filled(5, 3, faceColor))},
                                                    {"POINTS/FACE", QByteArray("\x02\x01\x01\x03", 4)},
                                                    {"STRINGS/BTNLIST", shell_test::NameListBytes({"FACE"})},
                                                    {"HTML/ORVANE", "<html></html>"}}));
}

TEST(ResourceLibrary, FindsResourcesByTypeAndNameIgnoringCase) {
    const auto library = Small();
    ASSERT_TRUE(library);
    EXPECT_EQ(library->Find(u"POINTS", u"FACE"), QByteArray("\x02\x01\x01\x03", 4));
    EXPECT_EQ(library->Find(u"points", u"face"), QByteArray("\x02\x01\x01\x03", 4));
    EXPECT_TRUE(library->Find(u"HTML", u"Orvane"));
    const QImage face = library->LoadBitmap(u"face");
    ASSERT_FALSE(face.isNull());
    EXPECT_EQ(face.size(), QSize(5, 3));
    EXPECT_EQ(face.format(), QImage::Format_RGB888);
    EXPECT_EQ(face.pixelColor(2, 1), QColor(Qt::red));
}

TEST(ResourceLibrary, MissingResourcesAreNotFound) {
    const auto library = Small();
    ASSERT_TRUE(library);
    struct Case {
        std::u16string type, name;
    };
    for (const Case& c : {Case{u"POINTS", u"OTHER"}, Case{u"BITMAP", u"POINTS"}, Case{u"STRINGS", u"LABELLIST"},
                          Case{u"", u"FACE"}, Case{u"POINTS", u""}, Case{u"BITMAP", u"../POINTS/FACE"},
                          Case{u"POINTS", u"FACE/X"}, Case{u"BITMAP", u"FACE.bmp"}, Case{u"X/../POINTS", u"FACE"}}) {
        EXPECT_FALSE(library->Find(c.type, c.name))
            << std::string(c.type.begin(), c.type.end()) << "/" << std::string(c.name.begin(), c.name.end());
    }
    // A folder is not a resource.
    EXPECT_FALSE(library->Find(u"BITMAP", u"")) << "empty name";
    EXPECT_TRUE(library->LoadBitmap(u"MISSING").isNull());
    // Bytes that are no bitmap give no picture.
    EXPECT_TRUE(library->LoadBitmap(u"../HTML/ORVANE").isNull());
}

TEST(ResourceLibrary, ListsEntriesSortedWithoutTheBitmapExtension) {
    const auto library = Small();
    ASSERT_TRUE(library);
    std::vector<std::u16string> listed;
    for (const auto& entry : library->Entries()) listed.push_back(entry.type + u"/" + entry.name);
    EXPECT_EQ(listed,
              (std::vector<std::u16string>{u"BITMAP/FACE", u"HTML/ORVANE", u"POINTS/FACE", u"STRINGS/BTNLIST"}));
}

TEST(ResourceLibrary, LibrariesWithTheSameNamesDoNotShadowEachOther) {
    const auto red = Small(Qt::red);
    const auto blue = Small(Qt::blue);
    ASSERT_TRUE(red && blue);
    EXPECT_NE(red->Root(), blue->Root());
    EXPECT_EQ(red->LoadBitmap(u"FACE").pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(blue->LoadBitmap(u"FACE").pixelColor(0, 0), QColor(Qt::blue));
    // Nor do they answer for the program's own resources at the top of the tree.
    EXPECT_FALSE(red->Root().isEmpty());
    EXPECT_NE(red->Root(), QStringLiteral("/"));
}

TEST(ResourceLibrary, FreeingUnregisters) {
    QString path;
    {
        const auto library = Small();
        ASSERT_TRUE(library);
        path = ":" + library->Root() + "/POINTS/FACE";
        EXPECT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ResourceLibrary, LoadsFromAHandheldPath) {
    orvane_test::TestHome home;
    const QByteArray bytes = BuildLibrary({{"POINTS/X", QByteArray("\x01\x02\x03\x04", 4)}});
    home.WriteFile(u"\\Program Files\\Orvane\\Test.dll", std::vector<unsigned char>(bytes.begin(), bytes.end()));
    const auto library = ResourceLibrary::Load(u"\\program files\\orvane\\TEST.DLL");
    ASSERT_TRUE(library);
    EXPECT_TRUE(library->Find(u"POINTS", u"X"));
    EXPECT_FALSE(ResourceLibrary::Load(u"\\Program Files\\Orvane\\Missing.dll"));
    home.WriteFile(u"\\Program Files\\Orvane\\Text.dll", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(ResourceLibrary::Load(u"\\Program Files\\Orvane\\Text.dll"));
}

TEST(ResourceLibrary, RefusesFilesItCannotServeSafely) {
    const QByteArray good = BuildLibrary({{"POINTS/X", QByteArray("\x01\x02\x03\x04", 4)}});
    QByteArray badVersion = good;
    badVersion[7] = 9;
    QByteArray treeOutside = good;
    treeOutside[8] = char(0x7F);
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "not a binary resource file"},
        {"text", QByteArray("qre"), "not a binary resource file"},
        {"version", badVersion, "version"},
        {"tree offset", treeOutside, "tree outside"},
        {"compressed", BuildLibrary({{"POINTS/X", QByteArray(64, 'x')}}, true), "compressed"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(ResourceLibrary::FromBytes(c.bytes, &reason)) << c.what;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
}

// Every cut and a few thousand random byte changes of the real library: loading either refuses the file or
// gives a library whose every listed resource can be read (AddressSanitizer sees any stray read).
TEST(ResourceLibrary, DamagedLibrariesNeverCrash) {
    const QByteArray built = shell_test::BuiltButtonLibrary();
    ASSERT_GT(built.size(), 1000);
    auto exercise = [](const QByteArray& bytes) {
        const auto library = ResourceLibrary::FromBytes(bytes);
        if (!library) return 0;
        for (const auto& entry : library->Entries()) {
            if (entry.type == u"BITMAP")
                library->LoadBitmap(entry.name);
            else
                library->Find(entry.type, entry.name);
        }
        return 1;
    };
    int loaded = 0;
    for (qsizetype cut :
         {qsizetype(4), qsizetype(20), qsizetype(23), qsizetype(100), built.size() / 2, built.size() - 1}) {
        loaded += exercise(built.left(cut));
    }
    EXPECT_EQ(loaded, 0) << "a cut library must be refused";
    std::mt19937 random(1234);
    const std::uint32_t treeOffset = (std::uint8_t(built[8]) << 24) | (std::uint8_t(built[9]) << 16) |
                                     (std::uint8_t(built[10]) << 8) | std::uint8_t(built[11]);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = built;
        for (int flips = 0; flips < 4; ++flips) {
            // Aim most changes at the header and the tree, where the offsets are.
            const qsizetype at =
                round % 2 ? qsizetype(random() % 24)
                          : qsizetype(treeOffset + random() % std::min<std::uint32_t>(2000, built.size() - treeOffset));
            damaged[at] = char(random());
        }
        exercise(damaged);
    }
}

}  // namespace
