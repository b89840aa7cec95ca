#version 120
// Full-screen pass: the quad's texture coordinates are pixel coordinates of
// the input rectangle texture and are handed on unchanged.

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
