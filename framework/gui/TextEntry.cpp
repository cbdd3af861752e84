#include "framework/gui/TextEntry.h"

#include "framework/core/IPlugParameter.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int kBackspace = 8;

// The number at the start of the text, read the same in every locale; 0 when there is none.
double LeadingNumber(const char* text)
{
  while (*text == ' ' || *text == '\t')
    ++text;
  if (*text == '+')
    ++text;
  double value = 0.0;
  const std::from_chars_result read =
    std::from_chars(text, text + std::strlen(text), value, std::chars_format::fixed | std::chars_format::scientific);
  if (read.ec != std::errc() || !std::isfinite(value))
    return 0.0;
  return value;
}

}  // namespace

bool TextEntryAccepts(const IPlugParameter* param, int character)
{
  if (!param || character == kBackspace)
    return true;
  const bool sign = character == '+' || character == '-';
  const bool digit = character >= '0' && character <= '9';
  switch (param->Type())
  {
  case IPlugParameter::kTypeBool:
  case IPlugParameter::kTypeInt:
  case IPlugParameter::kTypeEnum:
    return digit || sign;
  case IPlugParameter::kTypeDouble:
    return digit || sign || character == '.';
  default:
    return true;
  }
}

double EnteredValue(const IPlugParameter& param, const char* text)
{
  if (param.Type() == IPlugParameter::kTypeBool || param.Type() == IPlugParameter::kTypeEnum)
  {
    int value = 0;
    return param.ValueForText(text, &value) ? value : 0.0;
  }
  const double value = LeadingNumber(text);
  return param.NegateDisplay() ? -value : value;
}
