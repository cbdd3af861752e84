// What objects built for Microsoft's ABI call without saying so, for the MinGW-w64 programs
// they are linked into. memset and memcpy, which the optimiser may emit, come from the MinGW
// C runtime.

// A call through a table slot that was never filled in: stop at once, as that compiler's
// runtime does.
extern "C" int _purecall()
{
  __builtin_trap();
}

// Referenced by every object that uses floating point, to pull in the runtime's floating
// point support; the MinGW runtime sets that up by itself.
extern "C" {
int _fltused = 0;
}

#if defined(_M_IX86)
// 64-bit division on x86: that compiler calls helpers of its own (arguments on the stack,
// callee pops, result in EDX:EAX); they forward to the GCC runtime's.
using U64 = unsigned long long;
using S64 = long long;

extern "C" U64 __udivdi3(U64 a, U64 b);
extern "C" U64 __umoddi3(U64 a, U64 b);
extern "C" S64 __divdi3(S64 a, S64 b);
extern "C" S64 __moddi3(S64 a, S64 b);

extern "C" U64 __stdcall UnsignedDivide(U64 a, U64 b) __asm__("__aulldiv");
extern "C" U64 __stdcall UnsignedRemainder(U64 a, U64 b) __asm__("__aullrem");
extern "C" S64 __stdcall SignedDivide(S64 a, S64 b) __asm__("__alldiv");
extern "C" S64 __stdcall SignedRemainder(S64 a, S64 b) __asm__("__allrem");

extern "C" U64 __stdcall UnsignedDivide(U64 a, U64 b)
{
  return __udivdi3(a, b);
}
extern "C" U64 __stdcall UnsignedRemainder(U64 a, U64 b)
{
  return __umoddi3(a, b);
}
extern "C" S64 __stdcall SignedDivide(S64 a, S64 b)
{
  return __divdi3(a, b);
}
extern "C" S64 __stdcall SignedRemainder(S64 a, S64 b)
{
  return __moddi3(a, b);
}
#endif
