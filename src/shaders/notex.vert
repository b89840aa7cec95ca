#version 120
// Per-pixel shading: eye-space position and normal for the fragment stage.

varying vec3 eye_position;
varying vec3 eye_normal;

void main()
{
    eye_position = vec3(gl_ModelViewMatrix * gl_Vertex);
    eye_normal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
