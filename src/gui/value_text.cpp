#include "gui/value_text.h"

std::string format_two_decimals(float value) {
    const std::string text = format_stream(value);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;

    // Scientific output ("1.23457e+06") keeps its exponent; only the digits
    // between the point and the exponent are cut or padded.
    const std::size_t exponent = text.find_first_of("eE", point);
    std::string mantissa = text.substr(0, exponent);
    const std::string tail = exponent == std::string::npos ? "" : text.substr(exponent);

    const std::size_t decimals = mantissa.size() - point - 1;
    if (decimals < 2)
        mantissa.append(2 - decimals, '0');
    else
        mantissa.resize(point + 3);
    return mantissa + tail;
}

std::string format_vec3(const Vec3<float>& value) {
    return "(" + format_two_decimals(value.x) + "," + format_two_decimals(value.y) + "," +
           format_two_decimals(value.z) + ")";
}
