#pragma once

#include <cstdint>

// How a control's bitmap is combined with what lies below it.
struct IBlendSpec
{
  enum EKind : std::int32_t
  {
    kAlphaCopy = 0,  // any kind not listed below also blends by the source alpha
    kPlainCopy = 1,
    kAdd = 2,
    kDodge = 3,
  };

  static constexpr float kFullWeight = 1.0f;
  static constexpr float kGreyedWeight = 0.25f;
  static constexpr float kHiddenWeight = 0.0f;

  std::int32_t kind = kAlphaCopy;
  float weight = kFullWeight;
};
