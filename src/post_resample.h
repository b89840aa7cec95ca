// Half-size resampling of a picture.
#pragma once

class iRenderTarget;

// Registers the resampling shader.
void setup_resample_half();
// Draws input, filtered, into output (normally half its size).
void resample_half(iRenderTarget& input, iRenderTarget& output);
