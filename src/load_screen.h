// What the scene manager reports loading progress to.
#pragma once

class iLoadScreen {
public:
    // fraction from 0 to 1
    virtual void progress(float fraction) = 0;

protected:
    ~iLoadScreen() = default;
};
