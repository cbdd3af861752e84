#pragma once
// Numbers as text, the same in every locale: a host may set a decimal comma for the whole
// process, while every text the plug-in shows or reads uses a decimal point.

// Reads the decimal number at the start of the text (after white space and an optional sign;
// whatever follows is ignored). True with the number when it is finite; otherwise false and 0.
// end, when given, receives where the reading stopped (the text itself when nothing was read).
bool ReadNumber(const char* text, double* value, const char** end = nullptr);

// "%.*f" of the value in the C locale, cut to the capacity; "nan", "inf" and "-inf" for the
// non-finite values. The precision is taken in 0..kMaxFixedDecimals.
constexpr int kMaxFixedDecimals = 64;
void FormatFixed(char* out, int capacity, double value, int precision);
