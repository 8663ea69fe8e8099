#include "tray/flows/viewer_form.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace quiren {
namespace {

using testing::FakeDesktop;

class ViewerFormTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  ViewerForm viewer{desktop};
};

TEST_F(ViewerFormTest, FirstOpeningUsesTheDesignedSizeAndStoresItOnClosing) {
  viewer.show();
  EXPECT_TRUE(viewer.is_open());
  EXPECT_EQ(viewer.outer_size(), (TwipsSize{8910, 5865}));
  EXPECT_EQ(viewer.text_box_size(), (TwipsSize{8770, 5465}));
  viewer.close();
  EXPECT_FALSE(viewer.is_open());
  EXPECT_EQ(desktop.settings[u"width"], u"8910");
  EXPECT_EQ(desktop.settings[u"height"], u"5865");
}

TEST_F(ViewerFormTest, ResizedWindowReopensWithItsNewSize) {
  viewer.show();
  viewer.resize({6000, 4000});
  EXPECT_EQ(viewer.text_box_size(), (TwipsSize{5860, 3600}));
  viewer.close();
  EXPECT_EQ(desktop.settings[u"width"], u"6000");
  EXPECT_EQ(desktop.settings[u"height"], u"4000");

  ViewerForm next(desktop);
  next.show();
  EXPECT_EQ(next.outer_size(), (TwipsSize{6000, 4000}));
  EXPECT_EQ(next.text_box_size(), (TwipsSize{5860, 3600}));
}

TEST_F(ViewerFormTest, ShowingAnOpenViewerKeepsItsSizeAndText) {
  viewer.show();
  viewer.resize({7000, 5000});
  viewer.set_text(u"abc");
  desktop.settings[u"width"] = u"9999";
  viewer.show();
  EXPECT_EQ(viewer.outer_size(), (TwipsSize{7000, 5000}));
  EXPECT_EQ(viewer.text(), u"abc");
}

TEST_F(ViewerFormTest, StoredSizesAreReadAsNumbersWithTheDefaultForAnythingElse) {
  struct Case {
    std::u16string stored;
    std::int32_t width;
  };
  const Case cases[] = {
      {u"7000", 7000}, {u" 7000 ", 7000}, {u"7000.5", 7000}, {u"7001.5", 7002},
      {u"abc", 8910},  {u"", 8910},       {u"70px", 8910},   {u"-50", 0},
  };
  for (const Case& c : cases) {
    desktop.settings[u"width"] = c.stored;
    ViewerForm fresh(desktop);
    fresh.show();
    EXPECT_EQ(fresh.outer_size().width, c.width) << testing::utf8(c.stored);
    EXPECT_EQ(fresh.outer_size().height, 5865);
    EXPECT_GE(fresh.text_box_size().width, 0);
  }
}

TEST_F(ViewerFormTest, MinimisedOrMaximisedWindowStoresItsRestoredSize) {
  viewer.show();
  viewer.resize({7000, 5000});
  viewer.resize({2400, 450}, WindowState::minimized);
  EXPECT_EQ(viewer.text_box_size(), (TwipsSize{2260, 50}));
  viewer.resize({100, 300}, WindowState::minimized);
  EXPECT_EQ(viewer.text_box_size(), (TwipsSize{0, 0})) << "never below zero";
  viewer.resize({20000, 15000}, WindowState::maximized);
  EXPECT_EQ(viewer.text_box_size(), (TwipsSize{19860, 14600}));
  viewer.close();
  EXPECT_EQ(desktop.settings[u"width"], u"7000");
  EXPECT_EQ(desktop.settings[u"height"], u"5000");
}

TEST_F(ViewerFormTest, TheDecryptedTextGoesWithTheWindow) {
  viewer.show();
  viewer.set_text(u"secret");
  viewer.close();
  EXPECT_EQ(viewer.text(), u"");
}

}  // namespace
}  // namespace quiren
