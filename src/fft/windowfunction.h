#pragma once

#include <QString>
#include <vector>

/**
 * A window chosen by name that keeps its coefficients for one transform size.
 * Coefficients are computed in double precision and stored as T.
 */
template <typename T>
class WindowFunction
{
public:
    virtual ~WindowFunction();

    /** Coefficient n (0 .. size-1) of a window of size points. */
    virtual T calculate(int n, int size) const = 0;

    /** Builds the table for size points; nothing happens when it already has that length. */
    void create(int size);
    /** samples[i] *= table[i] for i < count, in place; the table holds at least count entries. */
    void apply(T *samples, int count) const;

    const std::vector<T> &table() const { return m_table; }

    /**
     * A new window owned by the caller, or none for "Rectangular" and unknown
     * names. Matching ignores case, white space at both ends and "function"
     * (so "HammingFunction" is Hamming).
     */
    static WindowFunction<T> *fromName(const QString &name);

    /** The key names are compared by. */
    static QString nameKey(const QString &name);

protected:
    WindowFunction() = default;

private:
    std::vector<T> m_table;
};

extern template class WindowFunction<float>;
