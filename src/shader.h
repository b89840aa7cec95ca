// The shader interface and the value carriers that callers hand to shaders.
//
// A shader is a vertex and fragment program pair behind a class that knows
// its own parameter names and how to turn a caller's value into what the
// programs expect. Callers never touch the programs: they go through the
// shader manager by the name the shader was registered under.
#pragma once

#include <string>

// Base of the parameter carriers; a shader finds out which carrier it was
// given with a run-time type test against the one it expects.
class cShaderParameterBase {
public:
    virtual ~cShaderParameterBase() = default;
};

// One value of type T. Two kinds are in use: cShaderParameter<float> (one
// float) and cShaderParameter<float* const> (the caller's array of floats,
// which only has to live during the set_parameter call: the shader copies
// the floats out at once). Callers build the carrier on their own stack.
template <typename T>
class cShaderParameter : public cShaderParameterBase {
public:
    explicit cShaderParameter(T value) : m_value(value) {}
    T m_value;
};

class cShader {
public:
    // Compiles and links the two program files (resolved through the search
    // paths) and fetches the parameters; true on success.
    virtual bool load_from_files(std::string vertex_file, std::string fragment_file) = 0;
    // Makes the programs current and uploads the stored parameter values.
    virtual void bind() = 0;
    // Looks up the class's parameters in the linked program.
    virtual void init_parameters() = 0;
    // Stores a value for parameter parm_name (an identifier of the class's
    // own enumeration); it reaches the programs at the next upload.
    virtual void set_parameter(int parm_name, cShaderParameterBase* var) = 0;
    // Uploads the stored values to the programs.
    virtual void update_parameters() = 0;
    // Called when the shader stops being the bound one.
    virtual void unbind() = 0;
    virtual ~cShader() = default;
};
