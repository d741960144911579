#include "fft/fouriertransformer.h"

#include "fft/fftlogging.h"
#include "fft/fourierfixedcalculator.h"
#include "fft/fouriervariablecalculator.h"

namespace {
bool isPowerOfTwo(int size)
{
    return size >= 1 && (size & -size) == size;
}

int log2Of(int powerOfTwo)
{
    int exponent = 0;
    while ((1 << exponent) < powerOfTwo)
        ++exponent;
    return exponent;
}
} // namespace

FourierTransformer::FourierTransformer(int size, const QString &windowName)
    : m_windowNames(windowFunctions())
{
    initialize();
    setSize(size);
    setWindowFunction(windowName);
}

FourierTransformer::~FourierTransformer()
{
    m_calculator = nullptr;
    m_fixedCalculators.clear(); // std::map destroys in ascending key order
    m_variableCalculator.reset();
    m_windowFunction.reset();
}

QStringList FourierTransformer::windowFunctions()
{
    return {QStringLiteral("Rectangular"), QStringLiteral("Hamming"), QStringLiteral("Hann")};
}

void FourierTransformer::initialize()
{
    // All twelve fixed calculators are built up front so that switching to any
    // fixed size later costs nothing.
    m_fixedCalculators[3].reset(new FourierFixedCalculator<3>);
    m_fixedCalculators[4].reset(new FourierFixedCalculator<4>);
    m_fixedCalculators[5].reset(new FourierFixedCalculator<5>);
    m_fixedCalculators[6].reset(new FourierFixedCalculator<6>);
    m_fixedCalculators[7].reset(new FourierFixedCalculator<7>);
    m_fixedCalculators[8].reset(new FourierFixedCalculator<8>);
    m_fixedCalculators[9].reset(new FourierFixedCalculator<9>);
    m_fixedCalculators[10].reset(new FourierFixedCalculator<10>);
    m_fixedCalculators[11].reset(new FourierFixedCalculator<11>);
    m_fixedCalculators[12].reset(new FourierFixedCalculator<12>);
    m_fixedCalculators[13].reset(new FourierFixedCalculator<13>);
    m_fixedCalculators[14].reset(new FourierFixedCalculator<14>);
    m_variableCalculator.reset(new FourierVariableCalculator);
}

FourierTransformer::SizeResult FourierTransformer::setSize(int size)
{
    if (!isPowerOfTwo(size)) {
        // The old calculator stays selected, but forwardTransform will not run
        // it: it would read and write a different number of floats.
        m_size = 0;
        return InvalidSize;
    }
    m_size = size;
    if (m_windowFunction)
        m_windowFunction->create(size);

    const auto fixed = m_fixedCalculators.find(log2Of(size));
    if (fixed != m_fixedCalculators.end()) {
        m_calculator = fixed->second.get();
        return FixedSize;
    }
    m_calculator = m_variableCalculator.get();
    m_calculator->setSize(size);
    return VariableSize;
}

FourierTransformer::SizeResult FourierTransformer::setSizeLogged(int size)
{
    const SizeResult result = setSize(size);
    if (result == VariableSize)
        qCDebug(lcFft) << "This size is not a default fixed size of the FFT engine. Using a variable size instead.\n";
    else if (result == InvalidSize)
        qCWarning(lcFft) << "Invalid FFT size.\n"; // the transform then does nothing: an empty picture
    return result;
}

bool FourierTransformer::setWindowFunction(const QString &name)
{
    const QString key = WindowFunction<float>::nameKey(name);
    bool known = false;
    for (const QString &entry : qAsConst(m_windowNames)) {
        if (WindowFunction<float>::nameKey(entry) == key) {
            known = true;
            break;
        }
    }
    if (!known)
        return false;

    m_windowFunction.reset(WindowFunction<float>::fromName(name));
    if (m_windowFunction && isPowerOfTwo(m_size))
        m_windowFunction->create(m_size);
    return true;
}

void FourierTransformer::forwardTransform(float *input, float *output)
{
    // Size 0 means no valid size is in force (never set, or the last one was
    // refused): running the previously selected calculator would overrun the
    // caller's buffers, so there is nothing to do.
    if (m_size == 0 || !m_calculator)
        return;
    if (m_windowFunction)
        m_windowFunction->apply(input, m_size);
    m_calculator->setData(input, output);
    m_calculator->forward();
}
