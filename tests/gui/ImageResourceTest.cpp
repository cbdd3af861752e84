#include "framework/gui/ImageResource.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageResource, OnlyPngNamesAreLoaded)
{
  struct Case
  {
    const char* name;
    bool png;
  };
  for (const Case& c :
       {Case{"resources/img/bkg.png", true}, Case{"X.PNG", true}, Case{"a.b.Png", true}, Case{"x.jpg", false},
        Case{"png", false}, Case{".png", true}, Case{"dir.png/x", false}, Case{"", false}, Case{nullptr, false}})
    EXPECT_EQ(HasPngExtension(c.name), c.png) << (c.name ? c.name : "null");
}

}  // namespace
