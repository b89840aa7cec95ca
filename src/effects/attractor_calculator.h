// Iterates a three-dimensional map and writes the orbit as points.
#pragma once

class iAttractorCalculator {
public:
    // Starts the orbit again at the origin, then does what calculate does.
    virtual void restart(float* out, int count, const float* params) = 0;
    // Writes the next count points of the orbit (3 floats each) into out;
    // params holds the map's four parameters. Nothing happens for count <= 0.
    virtual void calculate(float* out, int count, const float* params) = 0;

protected:
    // Owners hold the concrete class; nobody deletes through the interface.
    ~iAttractorCalculator() = default;
};
