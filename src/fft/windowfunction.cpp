#include "fft/windowfunction.h"

#include "fft/hammingwindow.h"
#include "fft/hannwindow.h"
#include "fft/windowweights.h"

template <typename T>
WindowFunction<T>::~WindowFunction() = default;

template <typename T>
void WindowFunction<T>::create(int size)
{
    if (size < 0)
        size = 0;
    if (m_table.size() == static_cast<size_t>(size))
        return;
    m_table.assign(static_cast<size_t>(size), T(0));
    for (int i = 0; i < size; ++i)
        m_table[static_cast<size_t>(i)] = calculate(i, size);
}

template <typename T>
void WindowFunction<T>::apply(T *samples, int count) const
{
    const T *w = m_table.data();
    for (int i = 0; i < count; ++i)
        samples[i] = samples[i] * w[i];
}

template <typename T>
QString WindowFunction<T>::nameKey(const QString &name)
{
    // "function" is removed only after lower-casing, and inner blanks stay:
    // "Hann Function" keeps a trailing blank and so matches nothing.
    return name.trimmed().toLower().remove(QStringLiteral("function"));
}

template <typename T>
WindowFunction<T> *WindowFunction<T>::fromName(const QString &name)
{
    const QString key = nameKey(name);
    if (key == QLatin1String("hamming"))
        return new HammingWindow<T>;
    if (key == QLatin1String("hann"))
        return new HannWindow<T>;
    return nullptr;
}

template class WindowFunction<float>;

template <typename T>
T HammingWindow<T>::calculate(int n, int size) const
{
    return static_cast<T>(windowWeight(WindowKind::Hamming, n, size));
}

template <typename T>
T HannWindow<T>::calculate(int n, int size) const
{
    return static_cast<T>(windowWeight(WindowKind::Hann, n, size));
}

template class HammingWindow<float>;
template class HannWindow<float>;
