// Binary contract of the interfaces: virtual-table slots and the 16 id bytes per platform.
// Record sizes and offsets are checked by static_asserts in the headers, in every build.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "sdk/vst3/Interfaces.h"

using namespace vst3;

namespace {

// g++ (Linux and MinGW alike) represents a pointer to a virtual member function as
// 1 + the byte offset of its slot, followed by the this-adjustment.
template <typename F>
long slotOf(F f)
{
  struct Rep
  {
    std::uintptr_t ptr;
    std::ptrdiff_t adj;
  } rep;
  static_assert(sizeof(F) == sizeof(Rep), "Itanium member-pointer layout");
  std::memcpy(&rep, &f, sizeof rep);
  return static_cast<long>((rep.ptr - 1) / sizeof(void*));
}

// The methods given sit in consecutive slots from `first`.
template <typename... F>
void expectSlots(const char* names, long first, F... methods)
{
  const long got[] = {slotOf(methods)...};
  for (long i = 0; i < long(sizeof...(F)); ++i)
    EXPECT_EQ(got[i], first + i) << names << " #" << i;
}
#define EXPECT_SLOTS(first, ...) expectSlots(#__VA_ARGS__, first, __VA_ARGS__)

}  // namespace

TEST(InterfaceSlots, EveryMethodSitsInItsSlot)
{
  EXPECT_SLOTS(0, &FUnknown::queryInterface, &FUnknown::addRef, &FUnknown::release);
  EXPECT_SLOTS(3, &IPluginFactory::getFactoryInfo, &IPluginFactory::countClasses, &IPluginFactory::getClassInfo,
               &IPluginFactory::createInstance);
  EXPECT_SLOTS(7, &IPluginFactory2::getClassInfo2);
  EXPECT_SLOTS(8, &IPluginFactory3::getClassInfoUnicode, &IPluginFactory3::setHostContext);
  EXPECT_SLOTS(3, &IPluginBase::initialize, &IPluginBase::terminate);
  EXPECT_SLOTS(5, &IComponent::getControllerClassId, &IComponent::setIoMode, &IComponent::getBusCount,
               &IComponent::getBusInfo, &IComponent::getRoutingInfo, &IComponent::activateBus, &IComponent::setActive,
               &IComponent::setState, &IComponent::getState);
  EXPECT_SLOTS(3, &IAudioProcessor::setBusArrangements, &IAudioProcessor::getBusArrangement,
               &IAudioProcessor::canProcessSampleSize, &IAudioProcessor::getLatencySamples,
               &IAudioProcessor::setupProcessing, &IAudioProcessor::setProcessing, &IAudioProcessor::process,
               &IAudioProcessor::getTailSamples);
  EXPECT_SLOTS(5, &IEditController::setComponentState, &IEditController::setState, &IEditController::getState,
               &IEditController::getParameterCount, &IEditController::getParameterInfo,
               &IEditController::getParamStringByValue, &IEditController::getParamValueByString,
               &IEditController::normalizedParamToPlain, &IEditController::plainParamToNormalized,
               &IEditController::getParamNormalized, &IEditController::setParamNormalized,
               &IEditController::setComponentHandler, &IEditController::createView);
  EXPECT_SLOTS(3, &IEditController2::setKnobMode, &IEditController2::openHelp, &IEditController2::openAboutBox);
  EXPECT_SLOTS(3, &IConnectionPoint::connect, &IConnectionPoint::disconnect, &IConnectionPoint::notify);
  EXPECT_SLOTS(3, &IUnitInfo::getUnitCount, &IUnitInfo::getUnitInfo, &IUnitInfo::getProgramListCount,
               &IUnitInfo::getProgramListInfo, &IUnitInfo::getProgramName, &IUnitInfo::getProgramInfo,
               &IUnitInfo::hasProgramPitchNames, &IUnitInfo::getProgramPitchName, &IUnitInfo::getSelectedUnit,
               &IUnitInfo::selectUnit, &IUnitInfo::getUnitByBus, &IUnitInfo::setUnitProgramData);
  EXPECT_SLOTS(3, &IMidiMapping::getMidiControllerAssignment);
  EXPECT_SLOTS(3, &IPlugView::isPlatformTypeSupported, &IPlugView::attached, &IPlugView::removed, &IPlugView::onWheel,
               &IPlugView::onKeyDown, &IPlugView::onKeyUp, &IPlugView::getSize, &IPlugView::onSize, &IPlugView::onFocus,
               &IPlugView::setFrame, &IPlugView::canResize, &IPlugView::checkSizeConstraint);
  EXPECT_SLOTS(3, &IPlugFrame::resizeView);
  EXPECT_SLOTS(3, &IHostApplication::getName, &IHostApplication::createInstance);
  EXPECT_SLOTS(3, &IBStream::read, &IBStream::write, &IBStream::seek, &IBStream::tell);
  EXPECT_SLOTS(3, &ISizeableStream::getStreamSize, &ISizeableStream::setStreamSize);
  EXPECT_SLOTS(3, &IParameterChanges::getParameterCount, &IParameterChanges::getParameterData,
               &IParameterChanges::addParameterData);
  EXPECT_SLOTS(3, &IParamValueQueue::getParameterId, &IParamValueQueue::getPointCount, &IParamValueQueue::getPoint,
               &IParamValueQueue::addPoint);
  EXPECT_SLOTS(3, &IEventList::getEventCount, &IEventList::getEvent, &IEventList::addEvent);
  EXPECT_SLOTS(3, &IComponentHandler::beginEdit, &IComponentHandler::performEdit, &IComponentHandler::endEdit,
               &IComponentHandler::restartComponent);
  EXPECT_SLOTS(3, &IComponentHandler2::setDirty, &IComponentHandler2::requestOpenEditor,
               &IComponentHandler2::startGroupEdit, &IComponentHandler2::finishGroupEdit);
  EXPECT_SLOTS(3, &IComponentHandler3::createContextMenu);
  EXPECT_SLOTS(3, &IContextMenu::getItemCount, &IContextMenu::getItem, &IContextMenu::addItem,
               &IContextMenu::removeItem, &IContextMenu::popup);
  EXPECT_SLOTS(3, &IContextMenuTarget::executeMenuItem);
  EXPECT_SLOTS(3, &IMessage::getMessageID, &IMessage::setMessageID, &IMessage::getAttributes);
  EXPECT_SLOTS(3, &IAttributeList::setInt, &IAttributeList::getInt, &IAttributeList::setFloat,
               &IAttributeList::getFloat, &IAttributeList::setString, &IAttributeList::getString,
               &IAttributeList::setBinary, &IAttributeList::getBinary);
  EXPECT_SLOTS(3, &IProcessContextRequirements::getProcessContextRequirements);
}

namespace {

struct IdCase
{
  const char* name;
  const char* iid;           // our declared bytes
  const char* windowsBytes;  // the GUID memory layout, as hosts on Windows send it
  uint32 words[4];
};

std::string hexOf(const char* bytes)
{
  std::string s;
  char buf[4];
  for (int i = 0; i < 16; ++i)
  {
    std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", static_cast<unsigned char>(bytes[i]));
    s += buf;
  }
  return s;
}

std::string bigEndianWords(const uint32 (&w)[4])
{
  char buf[64];
  std::string s;
  for (int i = 0; i < 4; ++i)
    for (int b = 3; b >= 0; --b)
    {
      std::snprintf(buf, sizeof buf, s.empty() ? "%02X" : " %02X", unsigned((w[i] >> (8 * b)) & 0xFF));
      s += buf;
    }
  return s;
}

#define ID_CASE(I, bytes, l1, l2, l3, l4)                                                                              \
  IdCase                                                                                                               \
  {                                                                                                                    \
#I, I::iid, bytes,                                                                                                 \
    {                                                                                                                  \
      l1, l2, l3, l4                                                                                                   \
    }                                                                                                                  \
  }

const IdCase kIds[] = {
  ID_CASE(FUnknown, "00 00 00 00 00 00 00 00 C0 00 00 00 00 00 00 46", 0x00000000, 0x00000000, 0xC0000000, 0x00000046),
  ID_CASE(IPluginBase, "DB 8D 88 22 6E 15 AE 45 83 58 B3 48 08 19 06 25", 0x22888DDB, 0x156E45AE, 0x8358B348,
          0x08190625),
  ID_CASE(IPluginFactory, "1C 81 4D 7A 11 52 1F 4A AE D9 D2 EE 0B 43 BF 9F", 0x7A4D811C, 0x52114A1F, 0xAED9D2EE,
          0x0B43BF9F),
  ID_CASE(IPluginFactory2, "50 B6 07 00 4B F2 0B 4C A4 64 ED B9 F0 0B 2A BB", 0x0007B650, 0xF24B4C0B, 0xA464EDB9,
          0xF00B2ABB),
  ID_CASE(IPluginFactory3, "AB A2 55 45 23 C1 57 4E 9B 12 29 10 36 87 89 31", 0x4555A2AB, 0xC1234E57, 0x9B122910,
          0x36878931),
  ID_CASE(IComponent, "31 FF 31 E8 D5 F2 01 43 92 8E BB EE 25 69 78 02", 0xE831FF31, 0xF2D54301, 0x928EBBEE,
          0x25697802),
  ID_CASE(IAudioProcessor, "99 3F 04 42 DA B7 3C 45 A5 69 E7 9D 9A AE C3 3D", 0x42043F99, 0xB7DA453C, 0xA569E79D,
          0x9AAEC33D),
  ID_CASE(IEditController, "E3 BB D7 DC 42 77 8D 44 A8 74 AA CC 97 9C 75 9E", 0xDCD7BBE3, 0x7742448D, 0xA874AACC,
          0x979C759E),
  ID_CASE(IEditController2, "59 FE 4E 7F 20 F3 67 49 AC 27 A3 AE AF B6 30 38", 0x7F4EFE59, 0xF3204967, 0xAC27A3AE,
          0xAFB63038),
  ID_CASE(IConnectionPoint, "6F 15 A4 70 6E 6E 26 40 98 91 48 BF AA 60 D8 D1", 0x70A4156F, 0x6E6E4026, 0x989148BF,
          0xAA60D8D1),
  ID_CASE(IUnitInfo, "B5 D6 4B 3D 3A 91 D2 4F A8 86 E7 68 A5 EB 92 C1", 0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1),
  ID_CASE(IMidiMapping, "F7 F9 0F DF B7 49 69 46 B6 3A B7 32 7A DB F5 E5", 0xDF0FF9F7, 0x49B74669, 0xB63AB732,
          0x7ADBF5E5),
  ID_CASE(IPlugView, "07 25 C3 5B 60 D0 EA 49 A6 15 1B 52 2B 75 5B 29", 0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29),
  ID_CASE(IPlugFrame, "01 AF 7F 36 A9 AF 93 46 8D 4D A2 A0 ED 08 82 A3", 0x367FAF01, 0xAFA94693, 0x8D4DA2A0,
          0xED0882A3),
  ID_CASE(IBStream, "A2 6E BF C3 99 30 52 47 9B 6B F9 90 1E E3 3E 9B", 0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B),
  ID_CASE(IParameterChanges, "63 96 77 A4 B6 0B 56 4A B4 43 84 A8 46 6F EB 9D", 0xA4779663, 0x0BB64A56, 0xB44384A8,
          0x466FEB9D),
  ID_CASE(IParamValueQueue, "18 3A 26 01 07 ED 6F 4F 98 C9 D3 56 46 86 F9 BA", 0x01263A18, 0xED074F6F, 0x98C9D356,
          0x4686F9BA),
  ID_CASE(IEventList, "14 42 2C 3A 63 34 FE 49 B2 C4 F3 97 B9 69 5A 44", 0x3A2C4214, 0x346349FE, 0xB2C4F397,
          0xB9695A44),
  ID_CASE(IComponentHandler, "A3 BE A0 93 D0 0B DB 45 8E 89 0B 0C C1 E4 6A C6", 0x93A0BEA3, 0x0BD045DB, 0x8E890B0C,
          0xC1E46AC6),
  ID_CASE(IComponentHandler2, "B3 B4 40 F0 60 A3 EC 45 AB CD C0 45 B4 D5 A2 CC", 0xF040B4B3, 0xA36045EC, 0xABCDC045,
          0xB4D5A2CC),
  ID_CASE(IComponentHandler3, "17 16 F1 69 6B D2 0D 40 A4 B6 B9 64 7B 6E BB AB", 0x69F11617, 0xD26B400D, 0xA4B6B964,
          0x7B6EBBAB),
  ID_CASE(IContextMenu, "63 C8 93 2E 9C 0C 88 45 97 DB EC F5 AD 17 81 7D", 0x2E93C863, 0x0C9C4588, 0x97DBECF5,
          0xAD17817D),
  ID_CASE(IContextMenuTarget, "75 2E DF 3C D3 85 44 41 BF 86 D3 6B D7 C4 89 4D", 0x3CDF2E75, 0x85D34144, 0xBF86D36B,
          0xD7C4894D),
  ID_CASE(IHostApplication, "CC 95 E5 58 2D DB 69 49 8B 6A AF 8C 36 A6 64 E5", 0x58E595CC, 0xDB2D4969, 0x8B6AAF8C,
          0x36A664E5),
  ID_CASE(IMessage, "3B 03 6F 93 C0 C6 DB 47 BB 08 82 F8 13 C1 E6 13", 0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613),
  ID_CASE(IAttributeList, "EB 0A 5F 1E 7F CC 33 45 A2 54 40 11 38 AD 5E E4", 0x1E5F0AEB, 0xCC7F4533, 0xA2544011,
          0x38AD5EE4),
  ID_CASE(IProcessContextRequirements, "03 43 65 2A 76 EF 3D 4E 95 B5 FE 83 73 0E F6 D0", 0x2A654303, 0xEF764E3D,
          0x95B5FE83, 0x730EF6D0),
  ID_CASE(ISizeableStream, "9E 54 F9 04 2F E0 6E 4E 87 E8 6A 87 47 F4 E1 7F", 0x04F9549E, 0xE02F4E6E, 0x87E86A87,
          0x47F4E17F),
};

}  // namespace

TEST(InterfaceIds, BytesFollowThePlatformLayout)
{
  for (const IdCase& c : kIds)
  {
    const std::string expected = TQ_VST3_COM_COMPATIBLE ? std::string(c.windowsBytes) : bigEndianWords(c.words);
    EXPECT_EQ(hexOf(c.iid), expected) << c.name;
  }
}

TEST(ResultCodes, MatchThePlatformConvention)
{
  EXPECT_EQ(kResultOk, 0);
  EXPECT_EQ(kResultTrue, kResultOk);
  EXPECT_EQ(kResultFalse, 1);
#if TQ_VST3_COM_COMPATIBLE
  EXPECT_EQ(static_cast<uint32>(kNoInterface), 0x80004002u);
  EXPECT_EQ(static_cast<uint32>(kInvalidArgument), 0x80070057u);
  EXPECT_EQ(static_cast<uint32>(kNotImplemented), 0x80004001u);
  EXPECT_EQ(static_cast<uint32>(kInternalError), 0x80004005u);
  EXPECT_EQ(static_cast<uint32>(kNotInitialized), 0x8000FFFFu);
  EXPECT_EQ(static_cast<uint32>(kOutOfMemory), 0x8007000Eu);
#else
  EXPECT_EQ(kNoInterface, -1);
  EXPECT_EQ(kInvalidArgument, 2);
  EXPECT_EQ(kNotImplemented, 3);
  EXPECT_EQ(kInternalError, 4);
  EXPECT_EQ(kNotInitialized, 5);
  EXPECT_EQ(kOutOfMemory, 6);
#endif
}

TEST(SpeakerArrangements, ChannelCountIsA64BitPopCount)
{
  EXPECT_EQ(channelCount(arrangement::kEmpty), 0);
  EXPECT_EQ(channelCount(arrangement::kMono), 1);
  EXPECT_EQ(channelCount(arrangement::k51), 6);
  EXPECT_EQ(channelCount(~SpeakerArrangement{0}), 64);  // the full 64-bit mask
  EXPECT_EQ(channelCount(SpeakerArrangement{1} << 63), 1);
}
