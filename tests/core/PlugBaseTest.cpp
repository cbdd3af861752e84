#include "framework/core/PlugTrace.h"
#include "tests/core/TestPlug.h"
#include "tests/core/RecordingEditor.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <string>

namespace {
std::vector<std::string> gAsserts;

TEST(IPlugBase, ConstructionMakesParametersPresetsAndChannels)
{
  IPlugTestBinding::Args args = PlugArgs(9);
  args.vendorVersion = 0x00010004;
  args.latency = -5;
  const std::string longName(300, 'e');
  args.effectName = longName.c_str();
  TestPlug plug(args);
  EXPECT_EQ(plug.NParams(), 9);
  EXPECT_EQ(plug.ParamAt(9), nullptr);
  EXPECT_EQ(plug.ParamAt(-1), nullptr);
  EXPECT_STREQ(plug.PresetNameAt(0), "empty");
  EXPECT_EQ(plug.HostCode(), -1);
  EXPECT_EQ(plug.Latency(), 0);
  EXPECT_EQ(plug.VersionNumber(true), 10004);
  EXPECT_EQ(std::string(plug.EffectName()), std::string(127, 'e'));
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);

  ASSERT_EQ(plug.NChannelConfigs(), 2);
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_FALSE(plug.LegalIO(3, -1));

  TestPlug uneven(PlugArgs(0, "2-1 1-6"));
  EXPECT_EQ(uneven.NInChannels(), 2);
  EXPECT_EQ(uneven.NOutChannels(), 6);
  TestPlug none(PlugArgs(0, nullptr));
  EXPECT_EQ(none.NInChannels(), 0);
  EXPECT_EQ(none.InputPointers(), nullptr);
  EXPECT_FALSE(none.LegalIO(-1, -1));
}

TEST(IPlugBase, MalformedChannelTokensAreReportedAndSkipped)
{
  gAsserts.clear();
  AssertHandler previous = SetAssertHandler([](const char* expression, const char* source, int) {
    gAsserts.push_back(std::string(expression) + "@" + source);
  });
  TestPlug trailing(PlugArgs(0, "1-1 2-2 "));
  TestPlug bad(PlugArgs(0, "x 2-3 4 -1-1 99999999999-1"));
  SetAssertHandler(previous);
  EXPECT_EQ(trailing.NChannelConfigs(), 2);
  EXPECT_EQ(bad.NChannelConfigs(), 1);
  EXPECT_TRUE(bad.LegalIO(2, 3));
  ASSERT_EQ(gAsserts.size(), 5u);
  EXPECT_EQ(gAsserts[0], "channelIOStrValid@IPlugBase");
}

TEST(IPlugBase, HostIdentificationByName)
{
  // Case, position in the name and the order of the tests decide; the last entry of the
  // list must still be reachable.
  const std::pair<const char*, int> cases[] = {
    {"CUBASE 12", 3},
    {"REAPER64 v7", 1},
    {"Cubase and Nuendo", 3},
    {"Logic with live", 9},
    {"Logic", 21},
    {"ProTools 2023", 2},
    {"VST3PluginTestHost", 27},
    {"Standalone", 24},
    {"Some Other Host", 0},
    {"", 0},
    {nullptr, 0},
    {"\xC3\x89"
     "diteur \xFF",
     0},
  };
  for (const auto& [name, code] : cases)
    EXPECT_EQ(IPlugBase::HostCodeFromName(name), code) << (name ? name : "(null)");

  // Only the first 255 characters are looked at.
  EXPECT_EQ(IPlugBase::HostCodeFromName((std::string(255, 'a') + "reaper").c_str()), 0);
  EXPECT_EQ(IPlugBase::HostCodeFromName((std::string(249, 'a') + "reaper").c_str()), 1);

  TestPlug plug(PlugArgs(0));
  plug.SetHost("Reaper", 0x00050102);
  EXPECT_EQ(plug.HostCode(), 1);
  EXPECT_EQ(plug.HostVersion(), 0x00050102);
}

TEST(IPlugBase, BusNames)
{
  TestPlug plug(PlugArgs(0));
  plug.NameInputBus(2, "ignored");
  plug.NameInputBus(0, "Main In");
  plug.NameInputBus(1, "Side");
  plug.NameInputBus(0, "Stereo In");  // replaces
  EXPECT_STREQ(plug.InputBusName(0), "Stereo In");
  EXPECT_STREQ(plug.InputBusName(1), "Side");
  EXPECT_EQ(plug.InputBusName(2), nullptr);
  plug.NameOutputBus(5, "Out");  // clamped to the count: lands at 0
  plug.NameOutputBus(-1, "no");
  EXPECT_STREQ(plug.OutputBusName(0), "Out");
  EXPECT_EQ(plug.OutputBusName(1), nullptr);
}

TEST(IPlugBase, EditorChangesReachParameterHostAndEffectInOrder)
{
  TestPlug plug(PlugArgs(2));
  plug.ParamAt(0)->DefineDouble("gain", 0, -12, 12, 1.0, "dB", "", 1.0);
  plug.SetParameterFromGUI(0, 0.75);
  ASSERT_EQ(plug.events.size(), 1u);
  EXPECT_EQ(plug.events[0].kind, IPlugTestBinding::HostEvent::kPerformEdit);
  EXPECT_EQ(plug.events[0].value, 0.75);
  ASSERT_EQ(plug.changes.size(), 1u);
  EXPECT_EQ(plug.changes[0].index, 0);
  EXPECT_EQ(plug.changes[0].values[0], 6.0);  // the handler sees the new value

  for (int bad : {7, -1})
    plug.SetParameterFromGUI(bad, 0.5);
  plug.SetParameterFromGUI(0, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(plug.changes.size(), 1u);
  plug.SetParameterFromGUI(0, 3.0);  // out of range: the host hears the clamped value
  EXPECT_EQ(plug.ParamAt(0)->Value(), 12.0);
  EXPECT_EQ(plug.events.back().value, 1.0);
}

TEST(IPlugBase, HostChangesReachParameterControlsAndEffectButNotTheHost)
{
  TestPlug plug(PlugArgs(2));
  plug.ParamAt(0)->DefineDouble("gain", 0, -12, 12, 1.0, "dB", "", 1.0);
  RecordingEditor* editor = new RecordingEditor;
  plug.AttachEditor(editor);
  editor->pushes.clear();

  EXPECT_TRUE(plug.SetParameterFromHost(0, 0.75));
  ASSERT_EQ(editor->pushes.size(), 1u);
  EXPECT_EQ(editor->pushes[0].value, 0.75);
  EXPECT_TRUE(editor->pushes[0].normalised);
  ASSERT_EQ(plug.changes.size(), 1u);
  EXPECT_EQ(plug.changes[0].cause, IPlugBase::kCauseEditorOrHost);
  EXPECT_EQ(plug.changes[0].values[0], 6.0);  // the handler sees the new value
  EXPECT_TRUE(plug.events.empty());           // the host is not told its own change

  for (int bad : {2, -1})
    EXPECT_FALSE(plug.SetParameterFromHost(bad, 0.5));
  EXPECT_FALSE(plug.SetParameterFromHost(0, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(plug.changes.size(), 1u);
  EXPECT_EQ(editor->pushes.size(), 1u);
  EXPECT_TRUE(plug.SetParameterFromHost(0, -4.0));
  EXPECT_EQ(plug.ParamAt(0)->Value(), -12.0);
  EXPECT_EQ(editor->pushes.back().value, 0.0);
}

TEST(IPlugBase, AttachedEditorGetsEveryValueAndIsOwned)
{
  bool firstDeleted = false, secondDeleted = false;
  {
    TestPlug plug(PlugArgs(3));
    plug.ParamAt(1)->DefineDouble("p", 25, 0, 100, 1.0, "", "", 1.0);
    plug.AttachEditor(nullptr);
    RecordingEditor* editor = new RecordingEditor(&firstDeleted);
    plug.AttachEditor(editor);
    EXPECT_EQ(plug.Editor(), editor);
    ASSERT_EQ(editor->pushes.size(), 3u);
    EXPECT_EQ(editor->pushes[1].value, 0.25);
    EXPECT_TRUE(editor->pushes[1].normalised);
    EXPECT_EQ(editor->surfacesMade, 1);
    plug.AttachEditor(new RecordingEditor(&secondDeleted));  // the previous one is released
    EXPECT_TRUE(firstDeleted);
  }
  EXPECT_TRUE(secondDeleted);
}

TEST(IPlugBase, DestroyAndFreeEndsTheWholeObjectAndFreesOnlyWhenAsked)
{
  // Without the flag the storage is the caller's (here a local buffer, which freeing would
  // corrupt); with it the heap block goes (the leak check sees it otherwise). Either way the
  // most-derived destructor runs, which is what deletes the editor.
  for (const int flags : {0, IPlugBase::kFreeObject})
  {
    alignas(TestPlug) unsigned char storage[sizeof(TestPlug)];
    TestPlug* plug = flags ? new TestPlug(PlugArgs(2)) : new (storage) TestPlug(PlugArgs(2));
    bool editorDeleted = false;
    plug->AttachEditor(new RecordingEditor(&editorDeleted));
    static_cast<IPlugBase*>(plug)->DestroyAndFree(flags);
    EXPECT_TRUE(editorDeleted) << flags;
  }
}

// A host that asks for a key's name (VST2) hears that there is none, in an emptied text.
TEST(IPlugBase, KeysHaveNoNamesUnlessTheEffectGivesThem)
{
  TestPlug plug(PlugArgs(0));
  char name[8] = "junk";
  EXPECT_FALSE(plug.NoteNameFor(60, name, sizeof(name)));
  EXPECT_STREQ(name, "");
  EXPECT_FALSE(plug.NoteNameFor(61, nullptr, 0));
}

TEST(IPlugBase, SampleRatesThatAreNotFiniteAndPositiveAreRefused)
{
  TestPlug plug(PlugArgs(0));
  EXPECT_FALSE(plug.ChangeSampleRate(0.0));
  EXPECT_FALSE(plug.ChangeSampleRate(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_TRUE(plug.ChangeSampleRate(48000.0));
  EXPECT_EQ(plug.SampleRate(), 48000.0);
}
}  // namespace
