#version 120
// The glow's blur over a pass's lines of texels: texture coordinates 0 are
// pixel coordinates of the input rectangle texture, handed on unchanged;
// sets 1 to 4 hold the line's 13 tap weights, four to a set (taps -6 to 6),
// the same at all corners of the line's quad, so that one draw covers lines
// of different weights.

varying vec4 weights[4];

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    weights[0] = gl_MultiTexCoord1;
    weights[1] = gl_MultiTexCoord2;
    weights[2] = gl_MultiTexCoord3;
    weights[3] = gl_MultiTexCoord4;
    gl_Position = ftransform();
}
