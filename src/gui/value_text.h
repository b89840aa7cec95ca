// Text forms of tweak-variable values: the plain stream form used by the
// printout, and the short forms shown beside the sliders.
#pragma once

#include "math/vec3.h"

#include <locale>
#include <sstream>
#include <string>

// The value as a standard output stream writes it with default settings (six
// significant digits for floats). The classic locale keeps the decimal point a
// '.' and numbers ungrouped whatever the process locale is.
template <typename T>
std::string format_stream(const T& value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

// The stream form cut or padded to exactly two decimals: 0.129 -> "0.12",
// 0.5 -> "0.50". The value is truncated, never rounded. Text without a '.'
// ("3", "1e-05") is returned unchanged. An exponent stays attached to its
// mantissa, so 1.5e-05 reads "1.50e-05" rather than losing its magnitude.
std::string format_two_decimals(float value);

// "(x,y,z)" with each component in the two-decimals form and no blanks, for
// example "(0.25,0.50,0.12)".
std::string format_vec3(const Vec3<float>& value);
