#version 120
// Composite pass: the base and the glow each come with texture coordinates
// in their own target's pixel size (the glow is usually smaller).

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[1] = gl_MultiTexCoord1;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
