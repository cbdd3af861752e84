// The binding's translation of host calls and its refusals, on a small test plug-in.
#include "tests/vst2/Vst2TestSupport.h"

#include "hosts/common/GuardedBuffers.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

using namespace vst2;
using vst2host::HostCallback;
using vst2host::MakeTimeInfo;
using namespace vst2test;

namespace {

// Values past the int range (wrapped to it in 32-bit builds, where intptr_t is 32 bits).
const intptr_t kBeyondInt = static_cast<intptr_t>(int64_t(INT32_MAX) + 1);
const intptr_t kExtension = static_cast<intptr_t>(0xBEEF0000u);

// ---- Creation and the record ---------------------------------------------------------------

TEST(Vst2Record, FieldsOfTheRecord)
{
  TestHost host;
  AEffect* e = host.effect();
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_EQ(e->numPrograms, 3);
  EXPECT_EQ(e->numParams, 3);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 0x1018);  // replacing, double replacing, a one-input configuration
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->uniqueID, 0x54737432);
  EXPECT_EQ(e->version, 10004);
  EXPECT_EQ(e->object, host.plug());
  EXPECT_TRUE(e->process && e->processReplacing && e->processDoubleReplacing && e->getParameter && e->setParameter);
  EXPECT_EQ(host.plug()->BlockSize(), 256);
  EXPECT_TRUE(host.plug()->IsInChannelConnected(1) && host.plug()->IsOutChannelConnected(1));
  host.plug()->ChangeLatency(64);
  EXPECT_EQ(e->initialDelay, 64);
}

TEST(Vst2Record, ShapesOfPlugIns)
{
  struct Case
  {
    const char* channelIO;
    int nPresets;
    int programs, flag8, arrangementType, nIn;
  } cases[] = {
    {"1-1 2-2", 0, 1, 8, kSpeakerArrStereo, 2},
    {"2-2", 1, 1, 0, kSpeakerArrStereo, 2},
    {"3-3", 2, 2, 0, kSpeakerArrUserDefined, 3},
    {"1-1", 1, 1, 8, kSpeakerArrMono, 1},
  };
  for (const Case& c : cases)
  {
    PlugShape shape;
    shape.channelIO = c.channelIO;
    shape.nPresets = c.nPresets;
    TestHost host(shape);
    EXPECT_EQ(host.effect()->numPrograms, c.programs) << c.channelIO;
    EXPECT_EQ(host.effect()->flags & effFlagsCanMono, c.flag8) << c.channelIO;
    EXPECT_EQ(host.plug()->InputArrangement().type, c.arrangementType) << c.channelIO;
    EXPECT_EQ(host.plug()->InputArrangement().numChannels, c.nIn) << c.channelIO;
  }
}

TEST(Vst2Record, EveryCreationIsItsOwnObjectAndFailureGivesNull)
{
  gNextShape = PlugShape();
  HostCallback a, b;
  AEffect* first = a.Create(&TestEntry);
  AEffect* second = b.Create(&TestEntry);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_NE(first->object, second->object);
  first->dispatcher(first, effClose, 0, 0, nullptr, 0.0f);
  second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f);

  gNextShape.throwInConstructor = true;
  HostCallback c;
  EXPECT_EQ(c.Create(&TestEntry), nullptr);
  gNextShape = PlugShape();
}

TEST(Vst2Record, CreationIsCompletedBeforeAnotherBegins)
{
  // While the first object's free presets are being filled, a creation on another thread
  // is started and given time: it must not be made before the first is complete.
  HostCallback first, second;
  AEffect* secondEffect = nullptr;
  std::atomic<bool> secondMade{false};
  bool madeWhileFilling = false;
  std::thread other;
  gNextShape = PlugShape();
  gNextShape.whileFillingPresets = [&] {
    if (other.joinable())
      return;
    other = std::thread([&] {
      secondEffect = second.Create(&TestEntry);
      secondMade = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    madeWhileFilling = secondMade;
  };
  AEffect* firstEffect = first.Create(&TestEntry);
  ASSERT_TRUE(other.joinable());
  other.join();
  gNextShape = PlugShape();
  EXPECT_FALSE(madeWhileFilling);
  ASSERT_TRUE(firstEffect && secondEffect);
  firstEffect->dispatcher(firstEffect, effClose, 0, 0, nullptr, 0.0f);
  secondEffect->dispatcher(secondEffect, effClose, 0, 0, nullptr, 0.0f);
}

// ---- Records that are not ours, and no host -----------------------------------------------------

TEST(Vst2Entries, NullForeignAndClosedRecordsAreSafe)
{
  TestHost host;
  AEffect foreign = *host.effect();
  foreign.object = nullptr;
  AEffect copy = *host.effect();  // the right object, but a record that is not its own
  float in[4] = {}, out[4] = {};
  float* ins[2] = {in, in};
  float* outs[2] = {out, out};
  char text[64] = {};
  for (AEffect* e : {static_cast<AEffect*>(nullptr), &foreign, &copy})
  {
    EXPECT_EQ(IPlugVST::VSTDispatcher(e, effGetParamName, 0, 0, text, 0.0f), 0);
    EXPECT_EQ(IPlugVST::VSTDispatcher(e, effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(IPlugVST::VSTGetParameter(e, 0), 0.0f);
    IPlugVST::VSTSetParameter(e, 0, 1.0f);
    IPlugVST::VSTReplaceFloat(e, ins, outs, 4);
    IPlugVST::VSTAccumulate(e, ins, outs, 4);
  }
  EXPECT_EQ(host.driver.GetParameter(0), 0.0f) << "the real object was not reached";
  EXPECT_STREQ(text, "");
}

TEST(Vst2Entries, NoHostCallbackIsNoAnswer)
{
  gNextShape = PlugShape();
  AEffect* e = TestEntry(nullptr);
  ASSERT_TRUE(e);
  TestVstPlug* plug = PlugOf(e);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(plug->HostCode(), 0);
  EXPECT_EQ(plug->HostTempo(), 0.0);
  EXPECT_FALSE(plug->RendersOffline());
  MidiMessage msg;
  EXPECT_FALSE(plug->SendMidiToHost(&msg));
  e->setParameter(e, 0, 0.5f);
  float buf[8] = {};
  float* io[2] = {buf, buf};
  e->processReplacing(e, io, io, 8);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

// ---- Dispatcher opcodes with fixed answers ------------------------------------------------------

TEST(Vst2Dispatcher, OpcodesAndTheirAnswers)
{
  TestHost host;
  struct Case
  {
    int32_t opcode, index;
    intptr_t value;
    intptr_t answer;
  } cases[] = {
    {effIdentify, 0, 0, 0x4E764566},
    {effGetVstVersion, 0, 0, 2400},
    {effGetPlugCategory, 0, 0, 1},
    {effGetVendorVersion, 0, 0, 10004},
    {effGetTailSize, 0, 0, 0},
    {effCanBeAutomated, 2, 0, 1},
    {effGetProgram, 0, 0, 0},
    {effSetBypass, 0, 1, 0},
    {effEditGetRect, 0, 0, 0},
    {effEditOpen, 0, 0, 0},
    {effEditClose, 0, 0, 0},
    {effEditIdle, 0, 0, 0},
    {effIdle, 0, 0, 0},
    {effVendorSpecific, 8, 1, 0xBEEF},  // a parameter of a stepped kind
    {effVendorSpecific, 8, 0, 0},       // a double parameter
    {effVendorSpecific, 8, 7, 0},       // no such parameter
    {effVendorSpecific, 3, 0, 0},
    {effProcessEvents, 0, 0, 0},  // no list
    {effGetChunk, 0, 0, 0},       // nowhere to put it
    {effSetChunk, 1, 80, 0},      // no data
    {effString2Parameter, 9, 0, 0},
    {effString2Parameter, 0, 0, 1},  // texts are understood
    {effGetInputProperties, 0, 0, 0},
    {9999, 0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(host.driver.Dispatch(c.opcode, c.index, c.value), c.answer) << "opcode " << c.opcode;
  EXPECT_EQ(host.effect()->flags & effFlagsHasEditor, 0) << "no editor window yet";
}

TEST(Vst2Dispatcher, CanDoIsAnExactMatch)
{
  struct Case
  {
    const char* text;
    intptr_t withMidi, withoutMidi;
  } cases[] = {
    {"receiveVstTimeInfo", 1, 1},
    {"sendVstMidiEvent", 1, 0},
    {"receiveVstEvents", 1, 0},
    {"receiveVstMidiEvent", 1, 0},
    {"receiveVstMidiEvents", 0, 0},
    {"receiveVstMidi", 0, 0},
    {"hasVelnorExtensions", kExtension, kExtension},
    {"hasVelnorViewAsConfig", kExtension, kExtension},
    {"", 0, 0},
  };
  PlugShape noMidi;
  noMidi.doesMidi = false;
  TestHost midi, plain(noMidi);
  for (const Case& c : cases)
  {
    EXPECT_EQ(midi.driver.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.text)), c.withMidi) << c.text;
    EXPECT_EQ(plain.driver.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.text)), c.withoutMidi) << c.text;
  }
  EXPECT_EQ(midi.driver.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

// ---- Texts into host buffers ------------------------------------------------------------------

// Writes into a buffer of canaries; the text and how many bytes were touched.
struct Written
{
  std::string text;
  int touched;
};

Written WriteThrough(vst2host::HostDriver& driver, int32_t opcode, int32_t index)
{
  char buffer[512];
  std::memset(buffer, 0x7E, sizeof(buffer));
  driver.Dispatch(opcode, index, 0, buffer);
  int touched = sizeof(buffer);
  while (touched > 0 && buffer[touched - 1] == 0x7E)
    --touched;
  buffer[sizeof(buffer) - 1] = 0;
  return {buffer, touched};
}

TEST(Vst2Texts, LongTextsAreCutToTheirBuffers)
{
  PlugShape shape;
  shape.longTexts = true;
  TestHost host(shape);
  host.driver.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(std::string(300, 'p').c_str()));
  EXPECT_EQ(std::strlen(host.plug()->PresetNameAt(0)), 255u) << "names kept are cut at 255";
  struct Case
  {
    int32_t opcode;
    int cap;
  } cases[] = {
    {effGetParamName, 32},  {effGetParamLabel, 32},   {effGetParamDisplay, 32},  {effGetProgramName, 24},
    {effGetEffectName, 32}, {effGetVendorString, 64}, {effGetProductString, 64}, {effGetProgramNameIndexed, 24},
  };
  for (const Case& c : cases)
  {
    const Written w = WriteThrough(host.driver, c.opcode, 0);
    EXPECT_LE(w.touched, c.cap) << "opcode " << c.opcode;
    EXPECT_EQ(w.text.size(), size_t(w.touched - 1)) << "terminated, opcode " << c.opcode;
  }
  EXPECT_EQ(WriteThrough(host.driver, effGetParamName, 0).text, "A parameter name of 31 chars...");
}

TEST(Vst2Texts, ParameterProgramAndPinTexts)
{
  TestHost host;
  vst2host::HostDriver& d = host.driver;
  EXPECT_EQ(d.ParamName(1), "Switch");
  EXPECT_EQ(d.ParamLabel(2), "dB");
  EXPECT_EQ(d.ParamDisplay(1), "off");
  EXPECT_EQ(d.ParamName(3), "") << "no such parameter";
  char stale[8] = "stale";
  d.Dispatch(effGetParamDisplay, 3, 0, stale);
  EXPECT_STREQ(stale, "") << "a host's uncleared buffer gets no stale text";
  EXPECT_EQ(d.EffectName(), "TestEffect");
  EXPECT_EQ(WriteThrough(d, effGetProductString, 0).text, "TestProduct");
  EXPECT_EQ(WriteThrough(d, effGetVendorString, 0).text, "TestMaker");
  EXPECT_EQ(WriteThrough(d, effGetProgramNameIndexed, 0).text, "First");
  EXPECT_EQ(WriteThrough(d, effGetProgramNameIndexed, 1).text, "Empty");
  EXPECT_EQ(d.Dispatch(effGetProgramNameIndexed, 9, 0, nullptr), 0);
  char none[8] = "x";
  EXPECT_EQ(d.Dispatch(effGetProgramNameIndexed, 9, 0, none), 0);

  struct Pin
  {
    int32_t opcode, index;
    intptr_t answer;
    int flags;
    const char* label;
  } pins[] = {
    {effGetInputProperties, 0, 1, 3, "Input 1"}, {effGetInputProperties, 1, 1, 1, "Input 2"},
    {effGetInputProperties, 2, 0, 0, ""},        {effGetOutputProperties, 0, 1, 3, "Output 1"},
    {effGetOutputProperties, -1, 0, 0, ""},
  };
  for (const Pin& p : pins)
  {
    VstPinProperties pin{};
    EXPECT_EQ(d.Dispatch(p.opcode, p.index, 0, &pin), p.answer);
    EXPECT_EQ(pin.flags, p.flags);
    EXPECT_STREQ(pin.label, p.label);
  }

  VstMidiKeyName key{};
  key.thisKeyNumber = 60;
  EXPECT_EQ(d.Dispatch(effGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_STREQ(key.keyName, "Middle C");
  key.thisKeyNumber = 61;
  EXPECT_EQ(d.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");

  char shown[64] = {};
  EXPECT_EQ(d.Dispatch(effVendorSpecific, 7, 1, shown, 1.0f), 0xBEEF);
  EXPECT_STREQ(shown, "on");
  EXPECT_EQ(d.Dispatch(effVendorSpecific, 7, 2, shown, std::nanf("")), 0xBEEF);
  EXPECT_STREQ(shown, "-10.0");
  EXPECT_EQ(d.Dispatch(effVendorSpecific, 7, 5, shown, 0.5f), 0) << "no such parameter";
}

// ---- Parameters from the host ---------------------------------------------------------------------

TEST(Vst2Params, TextsTheHostTypes)
{
  struct Case
  {
    int32_t index;
    const char* text;
    intptr_t answer;
    double value;
  } cases[] = {
    {0, "0.5", 1, 0.0},                                                 // shown negated: -0.5, clamped to the range
    {0, "-0.25", 1, 0.25}, {1, "on", 1, 1.0},    {1, "maybe", 0, 1.0},  // unknown text changes nothing
    {2, "7.5", 1, 7.5},    {2, "1e9", 1, 10.0},  {2, "nan", 0, 10.0},
    {2, "-inf", 0, 10.0},  {2, "junk", 0, 10.0}, {2, " +2.5dB", 1, 2.5},
  };
  TestHost host;
  for (const Case& c : cases)
  {
    EXPECT_EQ(host.driver.Dispatch(effString2Parameter, c.index, 0, const_cast<char*>(c.text)), c.answer) << c.text;
    EXPECT_DOUBLE_EQ(host.plug()->ParamAt(c.index)->Value(), c.value) << c.text;
  }
}

TEST(Vst2Params, SetParameterRunsTheHandlerWithoutTellingTheHost)
{
  TestHost host;
  host.plug()->changes.clear();
  host.driver.Host().ClearCalls();
  host.driver.SetParameter(2, 0.25f);
  EXPECT_DOUBLE_EQ(host.plug()->ParamAt(2)->Value(), -5.0);
  EXPECT_EQ(host.plug()->changes, std::vector<int>{2});
  EXPECT_TRUE(host.driver.Host().CallsOf(audioMasterAutomate).empty());
  host.driver.SetParameter(7, 0.5f);
  EXPECT_EQ(host.plug()->changes.size(), 1u);
}

TEST(Vst2Params, GesturesAndAutomationReachTheHost)
{
  TestHost host;
  host.driver.Host().ClearCalls();
  host.plug()->BeginInformHostOfParamChange(2);
  host.plug()->InformHostOfParamChange(2, 0.75);
  host.plug()->EndInformHostOfParamChange(2);
  host.plug()->RequestDisplayUpdate();
  const auto calls = host.driver.Host().Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[1].index, 2);
  EXPECT_EQ(calls[1].opt, 0.75f);
  EXPECT_EQ(calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(calls[3].opcode, audioMasterUpdateDisplay);
}

// ---- Programs ---------------------------------------------------------------------------------------

TEST(Vst2Programs, EditsStayWithTheirProgram)
{
  TestHost host;
  host.driver.SetParameter(2, 1.0f);
  host.driver.Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(host.driver.Dispatch(effGetProgram), 1);
  host.driver.SetParameter(2, 0.0f);
  host.driver.Dispatch(effSetProgram, 0, 0);
  EXPECT_DOUBLE_EQ(host.plug()->ParamAt(2)->Value(), 10.0);
  host.driver.Dispatch(effSetProgram, 0, 1);
  EXPECT_DOUBLE_EQ(host.plug()->ParamAt(2)->Value(), -10.0);
  for (intptr_t bad : {intptr_t(5), intptr_t(-1), kBeyondInt})
  {
    host.driver.Dispatch(effSetProgram, 0, bad);
    EXPECT_EQ(host.driver.Dispatch(effGetProgram), 1);
  }
}

// ---- Set-up ------------------------------------------------------------------------------------------

TEST(Vst2Setup, UnusableRatesAndBlockSizesKeepTheSetUp)
{
  TestHost host;
  host.driver.Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  host.driver.Dispatch(effSetBlockSize, 0, 512);
  for (float rate : {0.0f, -44100.0f, std::nanf(""), INFINITY})
    host.driver.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  for (intptr_t size : {intptr_t(0), intptr_t(-1), kBeyondInt})
    host.driver.Dispatch(effSetBlockSize, 0, size);
  EXPECT_EQ(host.plug()->SampleRate(), 96000.0);
  EXPECT_EQ(host.plug()->BlockSize(), 512);
  host.driver.Dispatch(effSetBlockSize, 0, INT32_MAX);
  EXPECT_EQ(host.plug()->BlockSize(), IPlugVST::kMaxScratchFrames) << "huge blocks are sliced";
}

TEST(Vst2Setup, HostCodeIsAskedOnceAndTerminated)
{
  struct Case
  {
    std::string product;
    int code;
    bool clampedToStereo;
  } cases[] = {
    {"Forte 4", 15, true},
    {"Some Live host", 9, false},
    {"", 0, false},
    {std::string(256, 'z'), 0, false},  // fills the buffer without a NUL
  };
  for (const Case& c : cases)
  {
    gNextShape = PlugShape();
    gNextShape.channelIO = "3-3";
    vst2host::HostDriver driver(&TestEntry);
    driver.Host().productString = c.product;
    ASSERT_TRUE(driver.Create());
    driver.Open(44100.0, 64);
    TestVstPlug* plug = PlugOf(driver.Effect());
    EXPECT_EQ(plug->HostCode(), c.code);
    // The host still sees every channel; a stereo-only host's third input is not read.
    EXPECT_EQ(driver.Effect()->numInputs, 3);
    EXPECT_EQ(plug->InputArrangement().numChannels, 3);
    EXPECT_EQ(plug->InputArrangement().type, kSpeakerArrUserDefined);
    EXPECT_EQ(plug->IsInChannelConnected(2), !c.clampedToStereo);
    EXPECT_TRUE(plug->IsOutChannelConnected(2));
    EXPECT_EQ(driver.Host().CallsOf(audioMasterGetProductString).size(), 1u);
    EXPECT_EQ(driver.Host().CallsOf(audioMasterGetVendorVersion).size(), c.product.empty() ? 0u : 1u);
  }
  gNextShape = PlugShape();
}

TEST(Vst2Setup, SpeakerArrangements)
{
  TestHost host;
  VstSpeakerArrangement mono{}, stereo{};
  mono.numChannels = 1;
  stereo.numChannels = 2;
  EXPECT_EQ(host.driver.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &stereo), 1);
  EXPECT_TRUE(host.plug()->IsInChannelConnected(0));
  EXPECT_FALSE(host.plug()->IsInChannelConnected(1));
  EXPECT_TRUE(host.plug()->IsOutChannelConnected(1));
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(host.driver.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
  EXPECT_EQ(in, &host.plug()->InputArrangement());
  EXPECT_EQ(out->type, kSpeakerArrStereo);
}

// ---- Host time --------------------------------------------------------------------------------------

TEST(Vst2Time, OnlyValidFieldsAreTaken)
{
  TestHost host;
  HostCallback& h = host.driver.Host();
  TestVstPlug* plug = host.plug();
  h.timeInfo = MakeTimeInfo(44100.0, 88200.4, 90.0);
  EXPECT_EQ(plug->HostTempo(), 90.0);
  EXPECT_EQ(plug->HostSamplePosition(), 88200);
  TransportInfo t;
  plug->HostTransport(&t);
  EXPECT_TRUE(t.playing);
  EXPECT_EQ(t.tempo, 90.0);
  EXPECT_NEAR(t.ppqPos, 3.0, 1e-4);

  h.timeInfo = MakeTimeInfo(44100.0, 5e9, 0.0);  // a position only, past 2^32 samples
  EXPECT_EQ(plug->HostTempo(), 0.0);
  EXPECT_EQ(plug->HostSamplePosition(), static_cast<int>(static_cast<uint32_t>(int64_t(5e9))));
  TransportInfo untouched;
  plug->HostTransport(&untouched);
  EXPECT_EQ(untouched.tempo, 120.0);
  EXPECT_FALSE(untouched.playing);
  int num = -1, den = -1;
  plug->HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);

  h.hasTimeInfo = false;
  EXPECT_EQ(plug->HostTempo(), 0.0);
  EXPECT_EQ(plug->HostSamplePosition(), 0);
  h.processLevel = kProcessLevelOffline;
  EXPECT_TRUE(plug->RendersOffline());
}

// ---- Events ----------------------------------------------------------------------------------------

TEST(Vst2Events, MidiIsEchoedAndSysexHandled)
{
  TestHost host;
  host.driver.Host().ClearCalls();
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof(note);
  note.deltaFrames = 12;
  note.midiData[0] = char(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  char dump[5] = {char(0xF0), 1, 2, 3, char(0xF7)};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.dumpBytes = 5;
  sysex.sysexDump = dump;
  VstEvent unknown{};
  unknown.type = 99;
  struct
  {
    VstEvents head;
    VstEvent* more[2];
  } list{};
  list.head.numEvents = 4;
  list.head.events[0] = reinterpret_cast<VstEvent*>(&note);
  list.head.events[1] = nullptr;
  list.more[0] = reinterpret_cast<VstEvent*>(&sysex);
  list.more[1] = &unknown;
  EXPECT_EQ(host.driver.Dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(host.plug()->sysexSizes, std::vector<int>{5});
  const auto sent = host.driver.Host().CallsOf(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].midi.size(), 1u);
  EXPECT_EQ(sent[0].midi[0].byteSize, 32);
  EXPECT_EQ(sent[0].midi[0].deltaFrames, 12);
  EXPECT_EQ(sent[0].midi[0].midiData[1], 60);

  SysexData out;
  out.size = 5;
  out.data = reinterpret_cast<const uint8_t*>(dump);
  EXPECT_TRUE(host.plug()->SendSysexToHost(&out));
  const auto dumps = host.driver.Host().CallsOf(audioMasterProcessEvents);
  ASSERT_EQ(dumps.back().sysex.size(), 1u);
  EXPECT_EQ(dumps.back().sysex[0].byteSize, int32_t(sizeof(VstMidiSysexEvent)));
}

// ---- Audio -------------------------------------------------------------------------------------------

TEST(Vst2Audio, AccumulateAddsAndEveryBlockAsksForMidi)
{
  TestHost host;  // the base process copies input to output
  host.driver.Host().ClearCalls();
  for (int frames : {3, 256, 1000})
  {
    hostcommon::GuardedBuffers<float> in(2, frames), out(2, frames);
    in.Fill(0.25f);
    out.Fill(1.0f);
    host.effect()->process(host.effect(), in.Pointers(), out.Pointers(), frames);
    EXPECT_EQ(out.Channel(1)[frames - 1], 1.25f);
    host.effect()->processReplacing(host.effect(), in.Pointers(), out.Pointers(), frames);
    EXPECT_EQ(out.Channel(0)[frames - 1], 0.25f);
    EXPECT_TRUE(out.GuardsIntact());
  }
  EXPECT_EQ(host.driver.Host().CallsOf(audioMasterWantMidi).size(), 6u);
  // Null buffer arrays and counts that are no block change nothing and do not crash, but
  // every call, of no frames too, reminds the host of MIDI.
  hostcommon::GuardedBuffers<float> in(2, 4), out(2, 4);
  out.Fill(1.0f);
  host.effect()->processReplacing(host.effect(), nullptr, nullptr, 64);
  host.effect()->process(host.effect(), in.Pointers(), out.Pointers(), 0);
  host.effect()->processReplacing(host.effect(), in.Pointers(), out.Pointers(), 0);
  host.effect()->processDoubleReplacing(host.effect(), nullptr, nullptr, -5);
  EXPECT_EQ(out.Channel(0)[0], 1.0f);
  EXPECT_TRUE(out.GuardsIntact());
  EXPECT_EQ(host.driver.Host().CallsOf(audioMasterWantMidi).size(), 10u);
}

}  // namespace
