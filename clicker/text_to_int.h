// The interval box's text as a number. The text arrives as code page 936 bytes, so the
// full-width forms a Chinese input method produces can be folded to ASCII first.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Double-byte pairs with an ASCII equivalent become that byte; other pairs are kept whole;
// a lead byte with nothing after it is dropped. The text ends at the first zero byte.
std::string foldFullWidth(std::string_view text);

// Leading white space, one optional sign, then decimal digits in 32-bit arithmetic that wraps
// modulo 2^32; the first non-digit ends the number. Never fails: no digits give 0.
std::int32_t textToInt(std::string_view text);
