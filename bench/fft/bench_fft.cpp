// Forward real FFT: this engine against FFTW (single precision, FFTW_MEASURE
// plan), ns per transform for 8 .. 16384 and 65536 points, and their ratio.
// Targets: at most FFTW's time for 256 to 16384 points, 4 times it for all.
//
// Usage: bench_fft [seconds per measurement, default 0.2] [narrow]
// "narrow" runs the four-lane code even where the processor has AVX2.
#include "benchutil.h"
#include "fft/fftpasses.h"
#include "fft/fouriertransformer.h"

#include <fftw3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

// How often to repeat a transform so that one run takes about seconds / 5.
template <typename Transform>
long long repeatsFor(Transform &&transform, double seconds)
{
    long long repeats = 1;
    for (;;) {
        const double start = benchutil::nowSeconds();
        for (long long r = 0; r < repeats; ++r)
            transform();
        const double elapsed = benchutil::nowSeconds() - start;
        if (elapsed > seconds / 10.0)
            return std::max<long long>(1, static_cast<long long>(repeats * (seconds / 5.0) / elapsed));
        repeats *= 4;
    }
}

// Seconds per transform in one run of repeats transforms.
template <typename Transform>
double secondsPerCall(Transform &&transform, long long repeats)
{
    const double start = benchutil::nowSeconds();
    for (long long r = 0; r < repeats; ++r)
        transform();
    return (benchutil::nowSeconds() - start) / double(repeats);
}

// Keeps the compiler from dropping transforms whose results nobody reads.
volatile float sink;

} // namespace

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 0.2;
    if (argc > 2 && std::strcmp(argv[2], "narrow") == 0)
        fftpasses::setWideVectorsEnabled(false);
    std::printf("engine vector lanes: %d\n", fftpasses::wideVectors() ? 8 : 4);
    std::vector<int> sizes;
    for (int n = 8; n <= 16384; n *= 2)
        sizes.push_back(n);
    sizes.push_back(65536);

    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);

    std::printf("%8s %14s %14s %8s\n", "points", "engine ns", "FFTW ns", "ratio");
    double worstMid = 0.0;
    double worstAll = 0.0;
    for (int n : sizes) {
        std::vector<float> samples(static_cast<size_t>(n));
        for (float &s : samples)
            s = uniform(rng);

        FourierTransformer transformer(0, QString());
        transformer.setSize(n);
        transformer.setWindowFunction(QStringLiteral("Rectangular"));
        std::vector<float> input = samples;
        std::vector<float> output(static_cast<size_t>(n) + 1, 0.0f);
        const auto engine = [&] {
            transformer.forwardTransform(input.data(), output.data());
            sink = output[1];
        };

        float *in = fftwf_alloc_real(static_cast<size_t>(n));
        fftwf_complex *out = fftwf_alloc_complex(static_cast<size_t>(n / 2 + 1));
        fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
        std::copy(samples.begin(), samples.end(), in); // MEASURE overwrites the arrays
        const auto fftw = [&] {
            fftwf_execute(plan);
            sink = out[1][0];
        };

        // Best of five runs each, the two taking turns, so that a busy spell
        // of the rest of the machine tends to hit both rather than one.
        const long long engineRepeats = repeatsFor(engine, seconds);
        const long long fftwRepeats = repeatsFor(fftw, seconds);
        double ours = 1e300;
        double theirs = 1e300;
        for (int run = 0; run < 5; ++run) {
            ours = std::min(ours, secondsPerCall(engine, engineRepeats) * 1e9);
            theirs = std::min(theirs, secondsPerCall(fftw, fftwRepeats) * 1e9);
        }
        fftwf_destroy_plan(plan);
        fftwf_free(out);
        fftwf_free(in);

        const double ratio = ours / theirs;
        if (n >= 256 && n <= 16384)
            worstMid = std::max(worstMid, ratio);
        worstAll = std::max(worstAll, ratio);
        std::printf("%8d %14.1f %14.1f %8.2f\n", n, ours, theirs, ratio);
    }
    std::printf("worst ratio 256..16384: %.2f (target 1.0), all sizes: %.2f (target 4)\n", worstMid, worstAll);
    return 0;
}
