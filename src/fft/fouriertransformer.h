#pragma once

#include "fft/windowfunction.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class FourierCalculator;

/**
 * The one door to the real FFT. Owns a fixed-size calculator for every size
 * from 8 to 16384 points and one variable-size calculator for the other powers
 * of two, selects one by setSize, optionally windows the samples in place and
 * runs the forward transform into the caller's buffer (layout: see
 * FourierCalculator). Built and used by one thread; never shared.
 *
 * Typical use:
 *   FourierTransformer fft(0, QString());
 *   if (fft.setSize(512) == FourierTransformer::InvalidSize) ...
 *   fft.setWindowFunction(QStringLiteral("Rectangular"));
 *   fft.forwardTransform(samples, spectrum);   // once per frame
 */
class FourierTransformer
{
public:
    /** Callers compare against these numbers. */
    enum SizeResult { VariableSize = 0, FixedSize = 1, InvalidSize = 2 };

    explicit FourierTransformer(int size = 0, const QString &windowName = QString());
    ~FourierTransformer();

    FourierTransformer(const FourierTransformer &) = delete;
    FourierTransformer &operator=(const FourierTransformer &) = delete;

    /** "Rectangular", "Hamming", "Hann", in this order. */
    static QStringList windowFunctions();

    /**
     * Selects the calculator for size points. Sizes below 1 and non-powers of
     * two give InvalidSize and set the size to 0 (the transform then does
     * nothing until a valid size is set).
     */
    SizeResult setSize(int size);

    /**
     * setSize as the engine's users call it: a size that takes the variable
     * calculator is written to the debug log, a size without any calculator is
     * a warning; the caller goes on with the transform either way.
     */
    SizeResult setSizeLogged(int size);

    /**
     * Replaces the window by the named one ("Rectangular" means none). Returns
     * false, changing nothing, for a name that is not in windowFunctions().
     */
    bool setWindowFunction(const QString &name);

    /**
     * input: size() samples, multiplied by the window in place when one is set;
     * output: receives exactly size() floats of spectrum, unnormalised. Allocates
     * nothing. Does nothing while the size is 0.
     */
    void forwardTransform(float *input, float *output);

    /** Current size in points; 0 before a valid size and after an invalid one. */
    int size() const { return m_size; }
    /** The current window, or none (rectangular). */
    const WindowFunction<float> *windowFunction() const { return m_windowFunction.get(); }
    /** The calculator the next transform runs, or none. */
    const FourierCalculator *calculator() const { return m_calculator; }

private:
    void initialize();

    int m_size = 0;
    std::map<int, std::unique_ptr<FourierCalculator>> m_fixedCalculators; // key: log2 of the size
    std::unique_ptr<FourierCalculator> m_variableCalculator;
    FourierCalculator *m_calculator = nullptr; // borrowed from one of the two above
    QStringList m_windowNames;
    std::unique_ptr<WindowFunction<float>> m_windowFunction;
};
