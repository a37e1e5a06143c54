#pragma once
// The readings of amounts and counts that the job files were written for: the
// C library's formatted input "%f" (into a float) and "%d" (into an int), with
// a point as the decimal separator whatever the process locale. Both stop at
// the text's NUL and never read past it.
#include <cstdint>

namespace kvitra {

// As "%f" reads: leading white space skipped, an optional sign, then "inf",
// "infinity" or "nan" (any case), a hexadecimal float "0x...p..." or a decimal
// number with an optional exponent, rounded to the nearest float. False (and
// `value` unchanged) when no number can be read there.
bool ScanFloat(const char* text, float& value);

// As "%d" reads: leading white space skipped, an optional sign and decimal
// digits. A number beyond the 64-bit range is held at its limit and then cut
// to its low 32 bits, as the C library on this platform stores it. False (and
// `value` unchanged) when no digit follows.
bool ScanInt(const char* text, int32_t& value);

}  // namespace kvitra
