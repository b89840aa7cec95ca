#version 120
// Round points drawn as point sprites. Points are never drawn smaller than
// two pixels across: a smaller disc misses most pixel centres, so a point
// would flicker on and off as it moves. Smooth points on the software
// rasteriser have the same floor, and the clouds were tuned with it.

uniform float point_size;

void main()
{
    gl_FrontColor = gl_Color;
    gl_PointSize = max(point_size, 2.0);
    gl_Position = ftransform();
}
