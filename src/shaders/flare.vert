#version 120
// Flare arcs: the mesh's texture coordinates serve both textures; the
// colour carries the flare's brightness.

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
