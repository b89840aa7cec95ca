// F12 in the makers' mode: the picture in the window's back buffer written as
// ../shots/<timecode>.png (a second still of the same time gets a number).
#pragma once

class cStillWriter {
public:
    // Reads the back buffer and writes it; prints the file's path, or one
    // line that says why it could not be written.
    void write(int timeline_ms);
};
