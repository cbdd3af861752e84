// Our declarations' interface ids against the ids typed in from the binary facts: the ones
// the module answers are also checked through the module itself, these cover the host's
// interfaces the plug-in asks for and calls.
#include "sdk/vst3/Interfaces.h"
#include "tests/vst3/abi/RawAbi.h"

#include <gtest/gtest.h>

using namespace rawabi;

namespace {

template <class I>
std::string declared()
{
  return hexOf(I::iid, 16);
}

std::string typed(const char* name) { return hexOf(knownId(name).bytes, 16); }

}  // namespace

TEST(DeclaredIds, EveryDeclaredInterfaceCarriesItsTypedBytes)
{
#define TQ_CHECK_ID(Name) EXPECT_EQ(declared<vst3::Name>(), typed(#Name)) << #Name
  TQ_CHECK_ID(FUnknown);
  TQ_CHECK_ID(IPluginBase);
  TQ_CHECK_ID(IPluginFactory);
  TQ_CHECK_ID(IPluginFactory2);
  TQ_CHECK_ID(IPluginFactory3);
  TQ_CHECK_ID(IComponent);
  TQ_CHECK_ID(IAudioProcessor);
  TQ_CHECK_ID(IEditController);
  TQ_CHECK_ID(IEditController2);
  TQ_CHECK_ID(IConnectionPoint);
  TQ_CHECK_ID(IUnitInfo);
  TQ_CHECK_ID(IMidiMapping);
  TQ_CHECK_ID(IPlugView);
  TQ_CHECK_ID(IPlugFrame);
  TQ_CHECK_ID(IBStream);
  TQ_CHECK_ID(ISizeableStream);
  TQ_CHECK_ID(IParameterChanges);
  TQ_CHECK_ID(IParamValueQueue);
  TQ_CHECK_ID(IEventList);
  TQ_CHECK_ID(IComponentHandler);
  TQ_CHECK_ID(IComponentHandler2);
  TQ_CHECK_ID(IComponentHandler3);
  TQ_CHECK_ID(IContextMenu);
  TQ_CHECK_ID(IContextMenuTarget);
  TQ_CHECK_ID(IHostApplication);
  TQ_CHECK_ID(IMessage);
  TQ_CHECK_ID(IAttributeList);
  TQ_CHECK_ID(IProcessContextRequirements);
#undef TQ_CHECK_ID
}
