#include <gtest/gtest.h>

#include "sdk/vst3/ModuleEntry.h"

TEST(ModuleEntry, EntriesAndExitsArePairedByCount)
{
  ASSERT_EQ(vst3::moduleEntryCount(), 0);
  EXPECT_FALSE(ExitDll());  // an exit without an entry fails and changes nothing
  EXPECT_EQ(vst3::moduleEntryCount(), 0);
  EXPECT_TRUE(InitDll());
  EXPECT_TRUE(InitDll());
  EXPECT_EQ(vst3::moduleEntryCount(), 2);
  EXPECT_TRUE(ExitDll());
  EXPECT_TRUE(ExitDll());
  EXPECT_FALSE(ExitDll());
  EXPECT_EQ(vst3::moduleEntryCount(), 0);
}

#if defined(_WIN32)
TEST(ModuleEntry, TheFirstEntryRecordsTheModuleUntilTheLastExit)
{
  EXPECT_EQ(vst3::moduleHandle(), nullptr);
  EXPECT_TRUE(InitDll());
  EXPECT_NE(vst3::moduleHandle(), nullptr);
  EXPECT_TRUE(ExitDll());
  EXPECT_EQ(vst3::moduleHandle(), nullptr);
}
#else
TEST(ModuleEntry, TheFirstEntryRecordsTheHandleUntilTheLastExit)
{
  int first = 0, second = 0;
  EXPECT_EQ(vst3::moduleHandle(), nullptr);
  EXPECT_TRUE(ModuleEntry(&first));
  EXPECT_TRUE(ModuleEntry(&second));
  EXPECT_EQ(vst3::moduleHandle(), &first);
  EXPECT_TRUE(ModuleExit());
  EXPECT_EQ(vst3::moduleHandle(), &first);
  EXPECT_TRUE(ModuleExit());
  EXPECT_EQ(vst3::moduleHandle(), nullptr);
  EXPECT_FALSE(ModuleExit());
}
#endif
