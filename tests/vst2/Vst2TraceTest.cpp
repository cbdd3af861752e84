// The trace points of the plug-in object and of the dispatcher, in a build that keeps
// them, caught by a sink of this test's own.
#include "framework/bindings/vst2/IPlugVST.h"
#include "framework/core/PlugTrace.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

namespace {
std::vector<std::string> gTraces;  // "function: text"
}  // namespace

void TraceEvent(const char* function, int, const char* format, ...)
{
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  gTraces.push_back(std::string(function) + ": " + text);
}

namespace {

using namespace vst2;

std::vector<std::string> TracesOf(const std::string& function)
{
  std::vector<std::string> found;
  for (const std::string& trace : gTraces)
  {
    if (trace.compare(0, function.size() + 2, function + ": ") == 0)
      found.push_back(trace.substr(function.size() + 2));
  }
  return found;
}

TEST(Vst2Trace, CreationIsStampedAndEveryOpcodeButIdleIsNamedAsAreCanDoTexts)
{
  gTraces.clear();
  AEffect* effect =
    (new IPlugVST(nullptr, 2, "1-1 2-2", 1, "Traced", "Product", "Maker", 0x00010000, 1, 2, 0, false, false, false))
      ->Effect();
  const std::vector<std::string> created = TracesOf("IPlugBase::IPlugBase");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_TRUE(std::regex_match(created[0], std::regex("Traced:[0-9]{8} [0-9]{2}:[0-9]{2} [+-][0-9]{4}"))) << created[0];

  effect->dispatcher(effect, effGetVstVersion, 3, 7, nullptr, 0.0f);
  effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effIdle, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, 77, -1, -2, nullptr, 0.0f);
  effect->dispatcher(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo"), 0.0f);
  effect->dispatcher(effect, effCanDo, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(TracesOf("IPlugVST::VSTDispatcher"),
            (std::vector<std::string>{"58(effGetVstVersion):3:7", "77(unknown):-1:-2", "51(effCanDo):0:0",
                                      "VSTCanDo(receiveVstTimeInfo)", "51(effCanDo):0:0", "1(effClose):0:0"}));
}

}  // namespace
