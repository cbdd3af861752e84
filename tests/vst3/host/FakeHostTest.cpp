// The fake host's own objects must behave like a real host's, or the binding tests that use
// them prove nothing: streams with short reads and failing writes, change queues, buffers
// whose guard zones catch overruns, reference counts that catch over-releases.
#include "sdk/vst3/CPluginView.h"
#include "tests/hosts/vst3/AudioBuffers.h"
#include "tests/hosts/vst3/ComponentHandler.h"
#include "tests/hosts/vst3/EventList.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/HostDriver.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/ParameterChanges.h"
#include "tests/hosts/vst3/PlugFrame.h"
#include "tests/hosts/vst3/ProcessContextBuilder.h"
#include "tests/hosts/vst3/ProcessDataBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace fakehost;
using vst3::int32;
using vst3::int64;

TEST(MemoryStream, ReadsBackWhatWasWrittenAndReportsShortReads)
{
  MemoryStream s;
  char data[5] = {1, 2, 3, 4, 5};
  int32 n = -1;
  ASSERT_EQ(s.write(data, 5, &n), vst3::kResultOk);
  EXPECT_EQ(n, 5);
  s.rewind();
  char back[8] = {};
  EXPECT_EQ(s.read(back, 3, &n), vst3::kResultOk);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(s.read(back + 3, 4, &n), vst3::kResultOk) << "short reads answer success with the count";
  EXPECT_EQ(n, 2);
  EXPECT_EQ(std::string(back, 5), std::string(data, 5));
  EXPECT_EQ(s.read(back, 1, nullptr), vst3::kResultOk);  // a null count pointer is allowed

  s.setShortReadResult(vst3::kResultFalse);
  s.rewind();
  EXPECT_EQ(s.read(back, 6, &n), vst3::kResultFalse);
  EXPECT_EQ(n, 5);
}

TEST(MemoryStream, LimitsMakeReadsAndWritesShort)
{
  MemoryStream s(std::vector<std::uint8_t>(10, 7));
  s.setReadLimit(4);
  std::uint8_t buf[10] = {};
  int32 n = 0;
  s.read(buf, 10, &n);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(buf[4], 0) << "nothing beyond the limit is delivered";

  MemoryStream w;
  w.setWriteLimit(6);
  std::uint8_t src[4] = {1, 2, 3, 4};
  EXPECT_EQ(w.write(src, 4, &n), vst3::kResultOk);
  EXPECT_EQ(w.write(src, 4, &n), vst3::kResultFalse);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(w.write(src, 4, &n), vst3::kResultFalse);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(w.bytes().size(), 6u);
}

TEST(MemoryStream, SeekRefusesBadPositionsAndFillsGaps)
{
  MemoryStream s(std::vector<std::uint8_t>{9, 9});
  int64 pos = -1;
  EXPECT_EQ(s.seek(-1, vst3::IBStream::kIBSeekSet, &pos), vst3::kInvalidArgument);
  EXPECT_EQ(s.seek(0, 7, &pos), vst3::kInvalidArgument);
  EXPECT_EQ(s.seek(std::numeric_limits<int64>::max(), vst3::IBStream::kIBSeekEnd, &pos), vst3::kInvalidArgument);
  ASSERT_EQ(s.tell(&pos), vst3::kResultOk);
  EXPECT_EQ(pos, 0) << "a refused seek leaves the position";
  EXPECT_EQ(s.tell(nullptr), vst3::kInvalidArgument);

  ASSERT_EQ(s.seek(2, vst3::IBStream::kIBSeekEnd, &pos), vst3::kResultOk);
  EXPECT_EQ(pos, 4);
  std::uint8_t one = 5;
  s.write(&one, 1, nullptr);
  EXPECT_EQ(s.bytes(), (std::vector<std::uint8_t>{9, 9, 0, 0, 5}));
  ASSERT_EQ(s.seek(-2, vst3::IBStream::kIBSeekCur, &pos), vst3::kResultOk);
  EXPECT_EQ(pos, 3);

  EXPECT_EQ(s.read(nullptr, 1, nullptr), vst3::kInvalidArgument);
  EXPECT_EQ(s.write(&one, -1, nullptr), vst3::kInvalidArgument);
}

TEST(ParameterChanges, QueuesKeepPointsOrderedAndIdsUnique)
{
  ParameterChanges changes;
  changes.add(7, 10, 0.5);
  changes.add(7, 2, 0.25);
  changes.add(7, 10, 0.75);  // same offset: replaces
  changes.add(3, 0, 1.0);
  ASSERT_EQ(changes.getParameterCount(), 2);
  vst3::IParamValueQueue* q = changes.getParameterData(0);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->getParameterId(), 7u);
  ASSERT_EQ(q->getPointCount(), 2);
  int32 offset = -1;
  double value = -1;
  ASSERT_EQ(q->getPoint(0, offset, value), vst3::kResultOk);
  EXPECT_EQ(offset, 2);
  EXPECT_EQ(value, 0.25);
  ASSERT_EQ(q->getPoint(1, offset, value), vst3::kResultOk);
  EXPECT_EQ(offset, 10);
  EXPECT_EQ(value, 0.75);
  EXPECT_EQ(q->getPoint(2, offset, value), vst3::kResultFalse);
  EXPECT_EQ(q->getPoint(-1, offset, value), vst3::kResultFalse);

  int32 index = -1;
  EXPECT_EQ(changes.addParameterData(3, index), changes.getParameterData(1));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(changes.getParameterData(2), nullptr);
  EXPECT_EQ(changes.getParameterData(-1), nullptr);

  changes.addEmptyQueue(vst3::kNoParamId);
  const ParamValueQueue* empty = changes.find(vst3::kNoParamId);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(const_cast<ParamValueQueue*>(empty)->getPoint(0, offset, value), vst3::kResultFalse);
}

TEST(HostObject, AnswersItsInterfacesAndCatchesOverRelease)
{
  HostApplication app;
  void* obj = reinterpret_cast<void*>(1);
  ASSERT_EQ(app.queryInterface(vst3::FUnknown::iid, &obj), vst3::kResultOk);
  EXPECT_EQ(obj, static_cast<vst3::FUnknown*>(&app));
  void* again = nullptr;
  ASSERT_EQ(app.queryInterface(vst3::IHostApplication::iid, &again), vst3::kResultOk);
  EXPECT_EQ(app.refCount(), 3);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(app.queryInterface(vst3::IBStream::iid, &obj), vst3::kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(app.queryInterface(vst3::FUnknown::iid, nullptr), vst3::kInvalidArgument);

  app.release();
  app.release();
  EXPECT_EQ(app.refCount(), 1);
  EXPECT_FALSE(app.overReleased());
  app.release();  // one more than the plug-in ever took
  EXPECT_TRUE(app.overReleased());
  EXPECT_EQ(app.refCount(), 1) << "the host's own reference never goes";

  vst3::String128 name;
  std::fill(std::begin(name), std::end(name), u'x');
  HostApplication longName(std::u16string(300, u'a'));
  ASSERT_EQ(longName.getName(name), vst3::kResultOk);
  EXPECT_EQ(name[126], u'a');
  EXPECT_EQ(name[127], 0) << "the name is cut to fit a String128";
}

TEST(ComponentHandler, RecordsGesturesAndOffersMenusOnlyWhenAsked)
{
  ComponentHandler handler;
  handler.beginEdit(4);
  handler.performEdit(4, 0.5);
  handler.endEdit(4);
  handler.performEdit(5, 0.1);  // outside a gesture
  handler.beginEdit(6);
  handler.beginEdit(6);  // nested
  handler.endEdit(6);
  handler.endEdit(6);
  handler.endEdit(8);  // never begun
  EXPECT_TRUE(handler.gesturesBalanced(4));
  EXPECT_FALSE(handler.gesturesBalanced(5));
  EXPECT_FALSE(handler.gesturesBalanced(6));
  EXPECT_FALSE(handler.gesturesBalanced(8));
  EXPECT_EQ(handler.calls().size(), 9u);

  void* obj = nullptr;
  ASSERT_EQ(handler.queryInterface(vst3::IComponentHandler3::iid, &obj), vst3::kResultOk);
  auto* h3 = static_cast<vst3::IComponentHandler3*>(obj);
  vst3::CPluginView view;
  EXPECT_EQ(h3->createContextMenu(nullptr, nullptr), nullptr) << "the view is required";
  const vst3::ParamID id = 4;
  vst3::IContextMenu* menu = h3->createContextMenu(&view, &id);
  ASSERT_NE(menu, nullptr);
  menu->popup(10, 20);
  menu->release();
  h3->release();
  EXPECT_EQ(handler.menuRequests(), std::vector<vst3::ParamID>{4});
  ASSERT_EQ(handler.menu().popups().size(), 1u);
  EXPECT_EQ(handler.menu().popups()[0].y, 20);
  EXPECT_EQ(handler.menu().heldByPlugin(), 0);
  EXPECT_EQ(handler.heldByPlugin(), 0);

  ComponentHandler plain(false);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(plain.queryInterface(vst3::IComponentHandler3::iid, &obj), vst3::kNoInterface);
  EXPECT_EQ(obj, nullptr);
}

TEST(AudioBuffers, GuardZonesCatchWritesOutsideTheBlock)
{
  for (int32 size : {vst3::kSample32, vst3::kSample64}) {
    AudioBuffers b;
    b.configure(size, {2, 0}, 16);
    ASSERT_EQ(b.busCount(), 2);
    EXPECT_NE(b.buses()[1].channelBuffers32, nullptr) << "a bus without channels still has its array";
    EXPECT_EQ(b.buses()[1].numChannels, 0);
    EXPECT_TRUE(b.guardsIntact());
    b.setSample(0, 1, 15, 0.125);
    EXPECT_EQ(b.sample(0, 1, 15), 0.125);
    EXPECT_TRUE(b.guardsIntact());
    if (size == vst3::kSample64)
      b.buses()[0].channelBuffers64[1][16] = 0.0;
    else
      b.buses()[0].channelBuffers32[1][16] = 0.0f;
    EXPECT_FALSE(b.guardsIntact()) << "one sample past the end";

    AudioBuffers before;
    before.configure(size, {1}, 4);
    if (size == vst3::kSample64)
      before.buses()[0].channelBuffers64[0][-1] = 1.0;
    else
      before.buses()[0].channelBuffers32[0][-1] = 1.0f;
    EXPECT_FALSE(before.guardsIntact()) << "one sample before the start";

    before.setSample(0, 0, 3, std::nan(""));
    EXPECT_TRUE(before.allFinite(3));
    EXPECT_FALSE(before.allFinite(4));
    EXPECT_THROW(before.sample(0, 1, 0), std::out_of_range);
  }
}

TEST(ProcessContextBuilder, MovesSongPositionOnlyWhilePlaying)
{
  ProcessContextBuilder t(48000.0);
  t.advance(24000);  // half a second at 120 BPM: one quarter note
  EXPECT_EQ(t.context()->projectTimeSamples, 24000);
  EXPECT_DOUBLE_EQ(t.context()->projectTimeMusic, 1.0);
  EXPECT_EQ(t.context()->barPositionMusic, 0.0);
  t.advance(96000);  // five quarters in 4/4: second bar starts at 4
  EXPECT_DOUBLE_EQ(t.context()->projectTimeMusic, 5.0);
  EXPECT_DOUBLE_EQ(t.context()->barPositionMusic, 4.0);
  t.timeSignature(6, 8);  // bars of three quarters: 5 lies in the bar from 3
  EXPECT_DOUBLE_EQ(t.context()->barPositionMusic, 3.0);

  t.playing(false);
  t.advance(1000);
  EXPECT_EQ(t.context()->projectTimeSamples, 120000);
  EXPECT_EQ(t.context()->continuousTimeSamples, 121000);
  EXPECT_EQ(t.context()->state & vst3::ProcessContext::kPlaying, 0u);
  t.advance(-5);
  EXPECT_EQ(t.context()->continuousTimeSamples, 121000);
}

TEST(ProcessDataBuilder, FlushWithEmptyBusesLeavesTheHostsBusesAlone)
{
  AudioBuffers in, out;
  in.configure(vst3::kSample32, {2}, 8);
  out.configure(vst3::kSample32, {2, 1}, 8);
  ProcessDataBuilder flush(vst3::kSample32, 0);
  flush.emptyBuses(in, out);
  const vst3::ProcessData& d = flush.data();
  EXPECT_EQ(d.numInputs, 0);
  EXPECT_EQ(d.numOutputs, 0);
  ASSERT_NE(d.inputs, nullptr);
  EXPECT_EQ(d.inputs[0].numChannels, 0);
  EXPECT_EQ(d.outputs[0].channelBuffers32, out.buses()[0].channelBuffers32) << "the arrays stay attached";
  EXPECT_EQ(in.buses()[0].numChannels, 2) << "the host's own records are untouched";
  EXPECT_EQ(out.buses()[0].numChannels, 2);
  EXPECT_EQ(d.inputParameterChanges, nullptr);
  EXPECT_EQ(d.processContext, nullptr);

  ProcessDataBuilder block(vst3::kSample64, 8);
  block.inputs(in).outputs(out).mode(vst3::kOffline);
  EXPECT_EQ(block.data().numOutputs, 2);
  EXPECT_EQ(block.data().symbolicSampleSize, vst3::kSample64);
  EXPECT_EQ(block.data().processMode, vst3::kOffline);
}

TEST(Text, ConvertsBetweenUtf8AndUtf16AtTheBufferLimits)
{
  const std::string text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // "Größe € 😀"
  vst3::String128 wide;
  widen(text, wide);
  EXPECT_EQ(wide[2], u'\u00F6');
  EXPECT_EQ(wide[6], u'\u20AC');
  EXPECT_EQ(wide[8], 0xD83D);
  EXPECT_EQ(wide[9], 0xDE00);
  EXPECT_EQ(wide[10], 0);
  EXPECT_EQ(narrow(wide), text);

  // Cut at the limit: the terminator always fits and a pair is never split.
  vst3::TChar small[10];  // room for 9 units: the pair would need units 8 and 9
  widen(text, small, 10);
  EXPECT_EQ(narrow(small), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC ");
  EXPECT_EQ(small[8], 0);
  widen(std::string(300, 'x'), wide);
  EXPECT_EQ(narrow(wide).size(), 127u);

  // Malformed input: stray continuation, overlong form, truncated sequence, encoded surrogate.
  widen("a\x80" "b\xC0\xAF" "c\xE2\x82", wide);
  EXPECT_EQ(narrow(wide), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD" "c\xEF\xBF\xBD");
  widen("\xED\xA0\x80", wide);
  EXPECT_EQ(wide[0], 0xFFFD);
  const vst3::TChar lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(narrow(lone), "a\xEF\xBF\xBD" "b");
  const vst3::TChar unterminated[3] = {u'x', u'y', u'z'};
  EXPECT_EQ(narrow(unterminated, 3), "xyz") << "never reads past the capacity";
}

TEST(PlugFrame, AnswersAResizeWithOnSizeOnlyWhenTheSizeChanges)
{
  struct CountingView : vst3::CPluginView
  {
    using CPluginView::CPluginView;
    vst3::tresult PLUGIN_API onSize(vst3::ViewRect* r) override
    {
      ++calls;
      return CPluginView::onSize(r);
    }
    int calls = 0;
  };
  const vst3::ViewRect initial{0, 0, 300, 200};
  CountingView view(&initial);
  PlugFrame frame;
  vst3::ViewRect bigger{0, 0, 400, 250};
  EXPECT_EQ(frame.resizeView(&view, &bigger), vst3::kResultOk);
  EXPECT_EQ(view.calls, 1);
  EXPECT_EQ(view.getRect().getWidth(), 400);
  vst3::ViewRect moved{10, 10, 410, 260};  // same size elsewhere: nothing to do
  EXPECT_EQ(frame.resizeView(&view, &moved), vst3::kResultOk);
  EXPECT_EQ(view.calls, 1);
  ASSERT_EQ(frame.resizes().size(), 2u);
  EXPECT_EQ(frame.resizeView(nullptr, &bigger), vst3::kInvalidArgument);
  EXPECT_EQ(frame.resizeView(&view, nullptr), vst3::kInvalidArgument);

  PlugFrame recordOnly(false);
  vst3::ViewRect smaller{0, 0, 100, 100};
  recordOnly.resizeView(&view, &smaller);
  EXPECT_EQ(view.calls, 1) << "a host that refuses the size does not call onSize";
  EXPECT_EQ(frame.heldByPlugin(), 0);
}

TEST(EventList, HandsOutWholeCopiesOfItsEvents)
{
  EventList events;
  events.addNoteOn(5, 2, 60, 0.5f);
  events.addNoteOff(9, 2, 60, 0.25f);
  ASSERT_EQ(events.getEventCount(), 2);
  vst3::Event e;
  std::memset(&e, 0xAB, sizeof e);
  ASSERT_EQ(events.getEvent(0, e), vst3::kResultOk);
  EXPECT_EQ(e.type, vst3::Event::kNoteOnEvent);
  EXPECT_EQ(e.sampleOffset, 5);
  EXPECT_EQ(e.noteOn.pitch, 60);
  EXPECT_EQ(e.noteOn.velocity, 0.5f);
  EXPECT_EQ(e.noteOn.noteId, -1);
  EXPECT_EQ(e.busIndex, 0) << "every field is written, none left from the caller";
  ASSERT_EQ(events.getEvent(1, e), vst3::kResultOk);
  EXPECT_EQ(e.type, vst3::Event::kNoteOffEvent);
  EXPECT_EQ(e.noteOff.velocity, 0.25f);
  EXPECT_EQ(e.noteOff.channel, 2);
  EXPECT_EQ(events.getEvent(2, e), vst3::kInvalidArgument);
  EXPECT_EQ(events.getEvent(-1, e), vst3::kInvalidArgument);
  EXPECT_EQ(events.addEvent(e), vst3::kResultOk);
  EXPECT_EQ(events.getEventCount(), 3);
}
