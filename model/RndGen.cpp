#include "model/RndGen.h"

void RndGen::init_random(float seed)
{
    m_table[54] = seed;
    float a = seed;
    float b = 1.0e-9f;
    for (int i = 1; i <= 53; ++i)
    {
        const int at = (21 * i) % 55;
        m_table[at] = b;
        b = a - b;
        if (b < 0.0f)
            b += 1.0f;
        a = m_table[at];
    }
    advance_random();
    advance_random();
    advance_random();
    m_nIndex = 0;
}

void RndGen::advance_random()
{
    for (int i = 0; i < 24; ++i)
    {
        float v = m_table[i] - m_table[i + 31];
        if (v < 0.0f)
            v += 1.0f;
        m_table[i] = v;
    }
    for (int i = 24; i < 55; ++i)
    {
        float v = m_table[i] - m_table[i - 24];
        if (v < 0.0f)
            v += 1.0f;
        m_table[i] = v;
    }
}

float RndGen::randm()
{
    if (++m_nIndex > 54)
    {
        m_nIndex = 1;
        advance_random();
    }
    return m_table[m_nIndex];
}
