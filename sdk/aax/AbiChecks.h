// Compile-time checks of an interface declaration as the host's compiler sees it: the type of
// an operation, calling convention included, and a table pointer with no C++ destructor
// slots. On 32-bit Windows g++ tells the conventions apart in member-function pointer types
// (and takes thiscall for a member function with none written); elsewhere there is one.
#pragma once

#include <type_traits>

#if defined(_WIN32) && defined(__i386__)
#define TQ_AAX_UNKNOWN_CC __stdcall
#define TQ_AAX_OPERATION_CC __attribute__((thiscall))
#else
#define TQ_AAX_UNKNOWN_CC
#define TQ_AAX_OPERATION_CC
#endif
#define TQ_AAX_SIG(I, op, R, ...)                                                                                      \
  static_assert(std::is_same<decltype(&I::op), R (TQ_AAX_OPERATION_CC I::*)(__VA_ARGS__)>::value,                      \
                #I "::" #op " has the wrong type or calling convention")
#define TQ_AAX_CSIG(I, op, R, ...)                                                                                     \
  static_assert(std::is_same<decltype(&I::op), R (TQ_AAX_OPERATION_CC I::*)(__VA_ARGS__) const>::value,                \
                #I "::" #op " has the wrong type or calling convention")

// A table pointer and nothing else, and no virtual destructor to add slots of g++'s own.
template <typename... I>
constexpr bool kAAX_BareTables =
  ((sizeof(I) == sizeof(void*) && std::is_polymorphic<I>::value && !std::has_virtual_destructor<I>::value) && ...);
