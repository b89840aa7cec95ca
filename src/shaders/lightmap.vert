#version 120
// Baked lighting: both lightmaps share the mesh's first texture coordinates.

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
