#include "hosts/window/PointerActions.h"

#include <cstdlib>

namespace hostwindow {
namespace {

struct Form
{
  const char* word;
  PointerAction::Kind kind;
  int numbers;
};

const Form kForms[] = {{"click", PointerAction::Click, 2},
                       {"right-click", PointerAction::RightClick, 2},
                       {"double-click", PointerAction::DoubleClick, 2},
                       {"drag", PointerAction::Drag, 4},
                       {"wheel", PointerAction::Wheel, 3}};

// Whole numbers separated by commas, exactly count of them, each within a window's reach.
bool readNumbers(const std::string& text, int count, int* out)
{
  const char* p = text.c_str();
  for (int i = 0; i < count; ++i)
  {
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    if (end == p || v < -32768 || v > 32767)
      return false;
    out[i] = static_cast<int>(v);
    p = end;
    if (i + 1 < count && *p++ != ',')
      return false;
  }
  return *p == 0;
}

}  // namespace

bool parsePointerAction(const std::string& text, PointerAction* action, std::string* error)
{
  const auto colon = text.find(':');
  const std::string word = text.substr(0, colon);
  for (const Form& form : kForms)
  {
    if (word != form.word)
      continue;
    int n[4] = {0, 0, 0, 0};
    if (colon == std::string::npos || !readNumbers(text.substr(colon + 1), form.numbers, n))
    {
      *error = "\"" + text + "\": " + form.word + " takes " + std::to_string(form.numbers) + " whole numbers";
      return false;
    }
    *action = PointerAction{};
    action->kind = form.kind;
    action->x = n[0];
    action->y = n[1];
    if (form.kind == PointerAction::Drag)
    {
      action->x2 = n[2];
      action->y2 = n[3];
    }
    action->notches = form.kind == PointerAction::Wheel ? n[2] : 0;
    return true;
  }
  *error = "\"" + text + "\": expected click, right-click, double-click, drag or wheel";
  return false;
}

}  // namespace hostwindow
