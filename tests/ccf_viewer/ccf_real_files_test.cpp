// The viewer on the real files made by other people (skipped when they are absent).
#include "tests/ccf_viewer/ccf_viewer_util.h"
// Then Qt and the rest.
#include <gtest/gtest.h>

#include "ccf/api/tessaly.h"
#include "handheld/shell/hwnd.h"
#include "tests/support/test_home.h"

using namespace ccf_test;
using namespace ccf_viewer_test;

namespace {

std::vector<std::filesystem::path> RealFiles() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path data = orvane_test::SharedTestData();
    if (data.empty() || !std::filesystem::is_directory(data / "ccf")) return files;
    for (const auto& entry : std::filesystem::directory_iterator(data / "ccf")) {
        if (entry.path().extension() == ".ccf") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

int NonWhite(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    return count;
}

TEST(CCFRealFiles, EveryPanelOfEveryDeviceDrawsAndTakesTaps) {
    const auto files = RealFiles();
    if (files.empty()) GTEST_SKIP() << "no real CCF files";
    RecordEffects effects;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        Viewer viewer(ReadHostFile(path), true);
        ASSERT_NE(viewer.screen->CurrentDevice(), nullptr);
        EXPECT_GT(NonWhite(viewer.Grab().copy(0, 50, 240, 270)), 100);
        for (CCFDevice* device : Devices(*viewer.loaded.file)) {
            ASSERT_EQ(viewer.screen->ShowDevice(device->recordOffset, 0), 1u);
            const std::size_t panels = Collect<CCFPanel>(device->CreatePanelIterator()).size();
            std::size_t shown = panels ? 1 : 0;
            do {
                // Every window of the panel lies where its item says, inside its frame or panel.
                for (auto* button : Windows<CCFButtonScreen>(viewer.screen.get())) {
                    EXPECT_EQ(button->size(), QSize(button->Button()->width, button->Button()->height));
                    EXPECT_EQ(button->parentWidget()->size(), button->size());
                }
                viewer.Grab();
            } while (viewer.screen->NextPanel() == 1 && ++shown);
            EXPECT_EQ(shown, panels);
            // Taps all over the first panel; jumps replace windows under the pen.
            viewer.screen->ShowDevice(device->recordOffset, 0);
            for (int y = 52; y < 320; y += 13) {
                for (int x = 2; x < 240; x += 13) Tap(viewer.screen.get(), {x, y});
                CCFFlushDeferredWindows();
            }
        }
    }
}

TEST(CCFRealFiles, OpenThroughTheExports) {
    const auto files = RealFiles();
    if (files.empty()) GTEST_SKIP() << "no real CCF files";
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    QWidget parent;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        const std::vector<std::uint8_t> bytes = ReadHostFile(path);
        home.WriteFile(u"\\My Documents\\real.ccf", {bytes.begin(), bytes.end()});
        ASSERT_EQ(CCFInitUI(handheld::ToHwnd(&parent), u"\\My Documents\\real.ccf", 0), 1);
        ASSERT_NE(CCFCurrentViewer(), nullptr);
        EXPECT_NE(CCFCurrentViewer()->CurrentDevice(), nullptr);
        EXPECT_EQ(CCFCurrentViewer()->CurrentDevice()->geometry().topLeft(), QPoint(0, 0));
        CCFDeinitUI();
    }
}

}  // namespace
