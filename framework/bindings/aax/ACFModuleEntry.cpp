#include "framework/bindings/aax/ACFModuleEntry.h"

#include "framework/bindings/aax/AAX_VHostServices.h"
#include "framework/bindings/aax/CACFUnknown.h"
#include "sdk/aax/ACFExports.h"

#include <type_traits>

// The entry points are what hosts call them as, calling convention included.
static_assert(std::is_same<decltype(&ACFStartup), ACFStartupProc>::value &&
                std::is_same<decltype(&ACFShutdown), ACFShutdownProc>::value &&
                std::is_same<decltype(&ACFCanUnloadNow), ACFCanUnloadNowProc>::value &&
                std::is_same<decltype(&ACFGetSDKVersion), ACFGetSDKVersionProc>::value &&
                std::is_same<decltype(&ACFRegisterPlugin), ACFRegisterPluginProc>::value &&
                std::is_same<decltype(&ACFRegisterComponent), ACFRegisterComponentProc>::value &&
                std::is_same<decltype(&ACFGetClassFactory), ACFGetClassFactoryProc>::value,
              "entry point types");

namespace {
// Runs an entry's body; an exception leaving it becomes the protocol's "unexpected" result.
template <typename Body>
ACFResult Entry(Body body) noexcept
{
  try
  {
    return body();
  }
  catch (...)
  {
    return kACF_Unexpected;
  }
}
}  // namespace

ACFResult ACF_STDCALL ACFStartup(IACFUnknown* host)
{
  return Entry([&] {
    SetHostServices(host);
    return kAAX_Success;
  });
}

ACFResult ACF_STDCALL ACFShutdown(IACFUnknown*)
{
  return Entry([&] {
    SetHostServices(nullptr);
    return kAAX_Success;
  });
}

ACFResult ACF_STDCALL ACFCanUnloadNow(IACFUnknown*)
{
  return Entry([&] { return CACFUnknown::LiveObjectCount(); });
}

ACFResult ACF_STDCALL ACFGetSDKVersion(uint64_t* version)
{
  return Entry([&] {
    if (!version)
      return kAAX_ErrBadTextOrOutput;
    *version = kACF_SDKVersion;
    return kAAX_Success;
  });
}

ACFResult ACF_STDCALL ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** definition)
{
  return Entry([&] {
    if (!definition)
      return kAAX_ErrBadTextOrOutput;
    *definition = nullptr;
    AAX_VCollection collection(host);
    ACFResult result = DescribeEffect(&collection, ModulePlugDescription());
    if (result != kAAX_Success)
      return result;
    HostCollectionInterface* face = collection.HostInterface();
    void* out = nullptr;
    if (!face || face->QueryInterface(kIID_ACFPluginDefinition, &out) != kAAX_Success)
      return kAAX_ErrMissingInterface;
    *definition = static_cast<IACFUnknown*>(out);
    return kAAX_Success;
  });
}

ACFResult ACF_STDCALL ACFRegisterComponent(IACFUnknown*, uint32_t, IACFUnknown** component)
{
  return Entry([&] {
    if (!component)
      return kAAX_ErrBadTextOrOutput;
    *component = nullptr;
    return kAAX_Success;
  });
}

ACFResult ACF_STDCALL ACFGetClassFactory(IACFUnknown*, const ACFGuid&, const ACFGuid&, void** factory)
{
  return Entry([&] {
    if (factory)
      *factory = nullptr;
    return kAAX_ErrUnsupported;
  });
}
