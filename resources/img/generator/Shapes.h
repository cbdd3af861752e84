// Signed distances in pixels (negative inside) of the few shapes the artwork is made of.
// Angles are in degrees, clockwise from twelve o'clock, as a knob's pointer turns.
#pragma once

#include <algorithm>
#include <cmath>

constexpr float kPi = 3.14159265358979f;

inline float Radians(float degrees)
{
  return degrees * kPi / 180.0f;
}

// The point at `radius` and `degrees` around cx, cy.
inline void PointAt(float cx, float cy, float radius, float degrees, float* x, float* y)
{
  *x = cx + radius * std::sin(Radians(degrees));
  *y = cy - radius * std::cos(Radians(degrees));
}

inline auto Circle(float cx, float cy, float radius)
{
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

// A band around the circle of `radius`, `halfWidth` to each side.
inline auto Ring(float cx, float cy, float radius, float halfWidth)
{
  return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - halfWidth; };
}

// A line from a to b with round ends, `halfWidth` to each side.
inline auto Capsule(float ax, float ay, float bx, float by, float halfWidth)
{
  return [=](float x, float y) {
    const float vx = bx - ax, vy = by - ay, wx = x - ax, wy = y - ay;
    const float length2 = vx * vx + vy * vy;
    const float t = length2 > 0 ? std::clamp((wx * vx + wy * vy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(wx - t * vx, wy - t * vy) - halfWidth;
  };
}

// The part of a ring from `from` to `to` degrees (from <= to), with round ends.
inline auto Arc(float cx, float cy, float radius, float halfWidth, float from, float to)
{
  return [=](float x, float y) {
    float angle = std::atan2(x - cx, cy - y) * 180.0f / kPi;  // -180..180, clockwise from the top
    const float middle = (from + to) / 2;
    while (angle < middle - 180)
      angle += 360;
    while (angle > middle + 180)
      angle -= 360;
    if (angle >= from && angle <= to)
      return std::fabs(std::hypot(x - cx, y - cy) - radius) - halfWidth;
    // Outside the sweep: the distance to the nearer end.
    float ex, ey;
    if (std::fabs(angle - from) > std::fabs(angle - to))
      PointAt(cx, cy, radius, to, &ex, &ey);
    else
      PointAt(cx, cy, radius, from, &ex, &ey);
    return std::hypot(x - ex, y - ey) - halfWidth;
  };
}

inline auto RoundRect(float left, float top, float right, float bottom, float radius)
{
  return [=](float x, float y) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float qx = std::fabs(x - cx) - ((right - left) / 2 - radius);
    const float qy = std::fabs(y - cy) - ((bottom - top) / 2 - radius);
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
  };
}

// A triangle (inside -1, outside 1: only its edge matters, never a distance).
inline auto Triangle(float ax, float ay, float bx, float by, float cx, float cy)
{
  return [=](float x, float y) {
    const auto side = [&](float px, float py, float qx, float qy) {
      return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    const float d1 = side(ax, ay, bx, by), d2 = side(bx, by, cx, cy), d3 = side(cx, cy, ax, ay);
    const bool negative = d1 < 0 || d2 < 0 || d3<0, positive = d1> 0 || d2 > 0 || d3 > 0;
    return negative && positive ? 1.0f : -1.0f;
  };
}
