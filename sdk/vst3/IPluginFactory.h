// The module's factory interfaces and their class-information records. The records have
// natural alignment (widest member 4 bytes), so they are laid out alike on every target.
#pragma once

#include <cstddef>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

struct PFactoryInfo
{
  enum FactoryFlags : int32
  {
    kNoFlags = 0,
    kClassesDiscardable = 1,
    kComponentNonDiscardable = 8,
    kUnicode = 16,
  };
  static constexpr int kNameSize = 64;
  static constexpr int kURLSize = 256;
  static constexpr int kEmailSize = 128;

  char8 vendor[kNameSize];
  char8 url[kURLSize];
  char8 email[kEmailSize];
  int32 flags;
};
static_assert(sizeof(PFactoryInfo) == 452, "PFactoryInfo size");
static_assert(offsetof(PFactoryInfo, url) == 64 && offsetof(PFactoryInfo, email) == 320 &&
                offsetof(PFactoryInfo, flags) == 448,
              "PFactoryInfo layout");

constexpr int32 kManyInstances = 0x7FFFFFFF;
constexpr const char* kVstAudioEffectClass = "Audio Module Class";

struct PClassInfo
{
  static constexpr int kCategorySize = 32;
  static constexpr int kNameSize = 64;

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
};
static_assert(sizeof(PClassInfo) == 116, "PClassInfo size");
static_assert(offsetof(PClassInfo, cardinality) == 16 && offsetof(PClassInfo, category) == 20 &&
                offsetof(PClassInfo, name) == 52,
              "PClassInfo layout");

// Component class flags.
enum ComponentFlags : uint32
{
  kDistributable = 1,
  kSimpleModeSupported = 2
};

struct PClassInfo2
{
  static constexpr int kCategorySize = 32;
  static constexpr int kNameSize = 64;
  static constexpr int kSubCategoriesSize = 128;
  static constexpr int kVendorSize = 64;
  static constexpr int kVersionSize = 64;

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char8 vendor[kVendorSize];
  char8 version[kVersionSize];
  char8 sdkVersion[kVersionSize];
};
static_assert(sizeof(PClassInfo2) == 440, "PClassInfo2 size");
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120 &&
                offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312 &&
                offsetof(PClassInfo2, sdkVersion) == 376,
              "PClassInfo2 layout");

struct PClassInfoW
{
  static constexpr int kCategorySize = 32;
  static constexpr int kNameSize = 64;
  static constexpr int kSubCategoriesSize = 128;
  static constexpr int kVendorSize = 64;
  static constexpr int kVersionSize = 64;

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char16 name[kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char16 vendor[kVendorSize];
  char16 version[kVersionSize];
  char16 sdkVersion[kVersionSize];
};
static_assert(sizeof(PClassInfoW) == 696, "PClassInfoW size");
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180 &&
                offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312 &&
                offsetof(PClassInfoW, version) == 440 && offsetof(PClassInfoW, sdkVersion) == 568,
              "PClassInfoW layout");

class IPluginFactory : public FUnknown
{
public:
  virtual tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 PLUGIN_API countClasses() = 0;
  virtual tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) = 0;
  virtual tresult PLUGIN_API createInstance(FIDString cid, FIDString iid_, void** obj) = 0;
  TQ_VST3_IID(7A4D811C, 52114A1F, AED9D2EE, 0B43BF9F);
};

class IPluginFactory2 : public IPluginFactory
{
public:
  virtual tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) = 0;
  TQ_VST3_IID(0007B650, F24B4C0B, A464EDB9, F00B2ABB);
};

// Declared so hosts can ask for it; our factory answers only the first two.
class IPluginFactory3 : public IPluginFactory2
{
public:
  virtual tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult PLUGIN_API setHostContext(FUnknown* context) = 0;
  TQ_VST3_IID(4555A2AB, C1234E57, 9B122910, 36878931);
};

}  // namespace vst3
