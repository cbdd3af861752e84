#pragma once
// A short script of what a person does with the pointer in an editor window:
//   click:X,Y  right-click:X,Y  double-click:X,Y  drag:X,Y,X2,Y2  wheel:X,Y,NOTCHES
// with coordinates inside the editor.

#include <string>
#include <vector>

namespace hostwindow {

struct PointerAction
{
  enum Kind
  {
    Click,
    RightClick,
    DoubleClick,
    Drag,
    Wheel
  };
  Kind kind = Click;
  int x = 0;
  int y = 0;
  int x2 = 0;  // Drag: where it ends
  int y2 = 0;
  int notches = 0;  // Wheel
};

// A drag's pointer moves after its press: kDragMoves of them, evenly spaced, the last one
// where it ends (move counts from 1).
constexpr int kDragMoves = 8;
inline int dragX(const PointerAction& drag, int move)
{
  return drag.x + (drag.x2 - drag.x) * move / kDragMoves;
}
inline int dragY(const PointerAction& drag, int move)
{
  return drag.y + (drag.y2 - drag.y) * move / kDragMoves;
}

// Parses one action; false with a reason for a word or a number it does not know.
bool parsePointerAction(const std::string& text, PointerAction* action, std::string* error);

}  // namespace hostwindow
