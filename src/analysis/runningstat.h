#pragma once

/**
 * Running mean of the values pushed so far, updated in double precision so a
 * long row of small magnitudes does not drift.
 */
class RunningStat
{
public:
    RunningStat() = default;

    /** Adds x: the first value becomes the mean, later ones move it by (x - mean) / count. */
    void push(double x)
    {
        ++m_count;
        if (m_count == 1)
            m_mean = x;
        else
            m_mean = m_mean + (x - m_mean) / m_count;
    }

    /** The mean of the values pushed so far; 0 before the first push. */
    double mean() const { return m_count > 0 ? m_mean : 0.0; }

private:
    int m_count = 0;
    double m_mean = 0.0;
};
