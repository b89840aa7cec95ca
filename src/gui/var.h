// Tweak variables: a name bound to a field that lives in the scene or effect
// that registered it. The variable never holds the value itself, so the owner
// keeps reading and writing its plain member while the variable list can print
// it and a slider can change it.
#pragma once

#include "debug.h"
#include "gui/value_text.h"
#include "math/vec3.h"

#include <string>
#include <utility>

class iVar {
public:
    virtual std::string get_name() const = 0;
    // The current value of the named field as text.
    virtual std::string get_value_string() const = 0;
    // The variable list deletes its variables through this interface.
    virtual ~iVar() = default;
};

// Instantiated for int, unsigned int, float and Vec3<float>.
template <typename T>
class cVar : public iVar {
public:
    // value must outlive the variable; the variable does not own it.
    cVar(std::string name, T* value) : m_name(std::move(name)), m_value(value) {
        VT_ASSERT(m_value);
    }

    std::string get_name() const override { return m_name; }
    // Numbers as a default output stream writes them ("0.25", "1500", "-3").
    std::string get_value_string() const override { return format_stream(*m_value); }

    T* get_field() const { return m_value; }

private:
    std::string m_name;
    T* m_value;
};

// Vectors read "(x,y,z)" with two decimals per component.
template <>
inline std::string cVar<Vec3<float>>::get_value_string() const {
    return format_vec3(*m_value);
}
