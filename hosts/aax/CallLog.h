#pragma once

#include "sdk/aax/ACFUnknown.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace aaxhost {

// Every call the fake host receives, in order, as text: "Controller.ReadSampleRate(ptr)".
// Doubles are written with 17 digits, so the text is exact. Results are scripted per
// operation name ("Controller.ReadSampleRate"); an operation without a script succeeds.
class CallLog
{
public:
  void Add(const std::string& call)
  {
    mCalls.push_back(call);
    if (onCall)
      onCall(call);
  }
  const std::vector<std::string>& Calls() const { return mCalls; }
  // The calls that start with `prefix`, in order.
  std::vector<std::string> Matching(const std::string& prefix) const;
  void Clear() { mCalls.clear(); }

  void FailWith(const std::string& operation, ACFResult result) { mResults[operation] = result; }
  ACFResult ResultFor(const std::string& operation) const;

  // Pointers the log should show by name ("Effect") rather than as "ptr".
  void Name(const void* pointer, const std::string& name) { mNames[pointer] = name; }
  std::string Describe(const void* pointer) const;

  // Runs inside every call the host receives, after it is logged: what a host might do there.
  std::function<void(const std::string& call)> onCall;

private:
  std::vector<std::string> mCalls;
  std::map<std::string, ACFResult> mResults;
  std::map<const void*, std::string> mNames;
};

// Text of call arguments, comma-separated.
class ArgText
{
public:
  explicit ArgText(const CallLog& log) : mLog(log) {}
  ArgText& operator<<(const char* text);
  ArgText& operator<<(double value);
  ArgText& operator<<(float value);
  ArgText& operator<<(int32_t value);
  ArgText& operator<<(uint32_t value);
  ArgText& operator<<(const void* pointer);
  const std::string& Text() const { return mText; }

private:
  void Separate();

  const CallLog& mLog;
  std::string mText;
};
}  // namespace aaxhost
