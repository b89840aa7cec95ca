#version 120
// Lit, untextured: Blinn-Phong per pixel with the fixed pipeline's light 0,
// front material and global ambient, so the scene lights it with the same
// glLight and glMaterial calls it uses elsewhere.

varying vec3 eye_position;
varying vec3 eye_normal;

void main()
{
    vec3 n = normalize(eye_normal);
    // Mirrored instances and the inside of the cage are lit like the outside.
    if (!gl_FrontFacing)
        n = -n;
    vec4 light_pos = gl_LightSource[0].position;
    vec3 l = light_pos.w == 0.0 ? normalize(light_pos.xyz)
                                : normalize(light_pos.xyz - eye_position);
    vec3 v = normalize(-eye_position);
    vec3 h = normalize(l + v);

    float diffuse = max(dot(n, l), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0)
        specular = pow(max(dot(n, h), 0.0), max(gl_FrontMaterial.shininess, 1.0));

    vec3 colour = gl_FrontLightModelProduct.sceneColor.rgb +
                  gl_FrontLightProduct[0].ambient.rgb +
                  gl_FrontLightProduct[0].diffuse.rgb * diffuse +
                  gl_FrontLightProduct[0].specular.rgb * specular;
    gl_FragColor = vec4(colour, gl_FrontMaterial.diffuse.a);
}
