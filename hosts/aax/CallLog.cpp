#include "hosts/aax/CallLog.h"

#include <cstdio>

namespace aaxhost {

std::vector<std::string> CallLog::Matching(const std::string& prefix) const
{
  std::vector<std::string> found;
  for (const std::string& call : mCalls)
    if (call.compare(0, prefix.size(), prefix) == 0)
      found.push_back(call);
  return found;
}

ACFResult CallLog::ResultFor(const std::string& operation) const
{
  const auto scripted = mResults.find(operation);
  return scripted != mResults.end() ? scripted->second : kAAX_Success;
}

std::string CallLog::Describe(const void* pointer) const
{
  if (!pointer)
    return "null";
  const auto named = mNames.find(pointer);
  return named != mNames.end() ? named->second : "ptr";
}

void ArgText::Separate()
{
  if (!mText.empty())
    mText += ", ";
}

ArgText& ArgText::operator<<(const char* text)
{
  Separate();
  mText += text ? "\"" + std::string(text) + "\"" : "null";
  return *this;
}

ArgText& ArgText::operator<<(double value)
{
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  Separate();
  mText += text;
  return *this;
}

ArgText& ArgText::operator<<(float value)
{
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", double(value));
  Separate();
  mText += text;
  return *this;
}

ArgText& ArgText::operator<<(int32_t value)
{
  Separate();
  mText += std::to_string(value);
  return *this;
}

ArgText& ArgText::operator<<(uint32_t value)
{
  Separate();
  mText += std::to_string(value);
  return *this;
}

ArgText& ArgText::operator<<(const void* pointer)
{
  Separate();
  mText += mLog.Describe(pointer);
  return *this;
}
}  // namespace aaxhost
