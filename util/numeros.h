// Number text, the program's own and the same on every platform.
#pragma once

#include <cstddef>

namespace sislin {

// The text printf gives, except that every NaN prints as "nan", without a sign.
// Longest text formata_* can produce, terminating NUL included.
inline constexpr std::size_t kFormatoMax = 352;
// Largest precision formata_fixo takes (a larger one counts as this); widths beyond
// kFormatoMax - 1 are cut to it.
inline constexpr int kPrecisaoMax = 40;
// buf has kFormatoMax places; places after the returned length may be overwritten.
// "%g" of v: returns the length written into buf (not NUL-terminated).
std::size_t formata_g(char* buf, double v);
// "%<width>.<prec>f" of v: returns the length written into buf (not NUL-terminated).
std::size_t formata_fixo(char* buf, double v, int width, int prec);

}  // namespace sislin
