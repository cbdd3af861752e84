#include "framework/gui/TextEntry.h"

#include "framework/core/IPlugParameter.h"
#include "framework/core/NumberText.h"

namespace {

constexpr int kBackspace = 8;

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
  double value = 0.0;  // 0 when the text holds no number
  ReadNumber(text, &value);
  return param.NegateDisplay() ? -value : value;
}
