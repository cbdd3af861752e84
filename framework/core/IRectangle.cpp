#include "framework/core/IRectangle.h"

#include <algorithm>

IRectangle IRectangle::UnionWith(const IRectangle& o) const
{
  if (Empty())
    return o;
  if (o.Empty())
    return *this;
  return IRectangle(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
}

IRectangle IRectangle::IntersectionWith(const IRectangle& o) const
{
  if (!Overlaps(o))
    return IRectangle();
  return IRectangle(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
}

bool IRectangle::Overlaps(const IRectangle& o) const
{
  return !Empty() && !o.Empty() && R >= o.L && L < o.R && B >= o.T && T < o.B;
}
