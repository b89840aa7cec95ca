#version 120
// X-ray look: a Fresnel-like rim term, strongest where the surface turns
// away from the viewer, so shapes read as glowing outlines. inv = 1 turns it
// inside out (bright where the surface faces the viewer, dark rims); values
// in between mix the two. The tint is light 0's diffuse colour times the
// material's, and the alpha follows the glow so the shape can be blended.

uniform float inv;

varying vec3 eye_position;
varying vec3 eye_normal;

void main()
{
    vec3 n = normalize(eye_normal);
    vec3 v = normalize(-eye_position);
    // abs: back faces and mirrored instances shade like front faces.
    float facing = abs(dot(n, v));
    float rim = pow(1.0 - facing, 2.0);
    float glow = mix(rim, 1.0 - rim, inv);
    vec3 tint = gl_LightSource[0].diffuse.rgb * gl_FrontMaterial.diffuse.rgb;
    gl_FragColor = vec4(tint * glow, glow * gl_FrontMaterial.diffuse.a);
}
