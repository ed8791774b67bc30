// A subtractive lagged random generator over a table of 55 floats in [0, 1): the same seed gives
// the same sequence everywhere.
#pragma once

class RndGen
{
public:
    RndGen() = default;
    explicit RndGen(float seed) { init_random(seed); }
    void init_random(float seed);
    void advance_random();
    float randm();

private:
    float m_table[55] = {};
    int m_nIndex = 0;
};
