#include "framework/core/NumberText.h"

#include "framework/core/IPlugParameter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

bool ReadNumber(const char* text, double* value, const char** end)
{
  *value = 0.0;
  if (end)
    *end = text;
  if (!text)
    return false;
  const char* at = text;
  while (*at == ' ' || (*at >= '\t' && *at <= '\r'))
    ++at;
  // from_chars takes a minus sign only; a plus is skipped here, but not a plus before a minus.
  if (at[0] == '+' && at[1] != '-')
    ++at;
  double read = 0.0;
  const std::from_chars_result result =
    std::from_chars(at, at + std::strlen(at), read, std::chars_format::fixed | std::chars_format::scientific);
  if (result.ec != std::errc() || !std::isfinite(read))
    return false;
  *value = read;
  if (end)
    *end = result.ptr;
  return true;
}

void FormatFixed(char* out, int capacity, double value, int precision)
{
  if (!out || capacity < 1)
    return;
  if (std::isnan(value))
  {
    CopyText(out, capacity, "nan");
    return;
  }
  if (std::isinf(value))
  {
    CopyText(out, capacity, value < 0 ? "-inf" : "inf");
    return;
  }
  // Room for any finite double in fixed notation: 309 digits, sign, point and the decimals.
  char text[320 + kMaxFixedDecimals];
  const auto result = std::to_chars(text, text + sizeof(text) - 1, value, std::chars_format::fixed,
                                    std::clamp(precision, 0, kMaxFixedDecimals));
  *result.ptr = '\0';
  CopyText(out, capacity, text);
}
