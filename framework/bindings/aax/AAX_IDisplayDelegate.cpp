#include "framework/bindings/aax/AAX_IDisplayDelegate.h"

void TrimNumberText(std::string& text, int32_t limit)
{
  const size_t room = limit > 0 ? size_t(limit) : 0;
  if (text.size() > room)
    text.resize(room);
  if (room > 0 && text.size() == room && text.back() == '.')
    text.pop_back();
}
