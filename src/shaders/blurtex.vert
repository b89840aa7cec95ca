#version 120
// Blur pass: the quad's texture coordinates are pixel coordinates of the
// output and are handed on unchanged.

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
