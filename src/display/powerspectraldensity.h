#pragma once

#include <QPointF>
#include <QVector>
#include <QtGlobal>

#include <optional>
#include <vector>

// The frequency plot's power spectral density of a whole recording: the
// windowed blocks of 4096 samples added into one block, transformed once,
// as dB/Hz over kHz. Values in, values out.

/** The block length of the density: the 2049 values lie 1/4096 of the sample rate apart. */
constexpr int densityBlockSize = 4096;

/**
 * The weights w(n), n = 0 .. 4095, of a "window" index: 0 Rectangular,
 * 1 Hamming, 2 Hann, 3 Blackman, 4 Bartlett, 5 Flattop, and Blackman-Harris
 * for 6 and above (and for any index the settings dialog never writes). The
 * cosine windows run over 4095 intervals, so both ends carry the edge weight.
 */
std::vector<float> densityWindow(int windowIndex);

/**
 * Points (dB/Hz, kHz) of the density of samples[0 .. sampleCount): the
 * sampleCount / 4096 whole blocks, each sample x / F x w(n) in single
 * precision, added into one block (a shorter rest is not used, but
 * sampleCount still divides the power), transformed by the FFT engine; value
 * k at k x sampleRate / 4096 / 1000 kHz is
 *   k = 0:  10 log10(re0^2 / (N x R)),
 *   k >= 1: 10 log10(2 (re_k^2 + im_k^2) / (N x R)).
 *
 * Densities that are not finite (the zeros of a silent recording or one
 * shorter than a block: log10(0)) are left out: a point at minus infinity
 * cannot be drawn, and would break the axis that is scaled to the points.
 * Nothing without samples, a sample rate or a full scale.
 */
QVector<QPointF> powerSpectralDensity(const std::vector<int> &samples, qint64 sampleCount, int sampleRate,
                                      int bitsPerSample, int windowIndex);

/** The density axis: from the largest density (left) to the smaller of 0 and the smallest (right). */
struct DensityAxis {
    double left = 0.0;
    double right = 0.0;
};

/** Empty for no points; a single level still gets an axis 1 dB wide. */
std::optional<DensityAxis> densityAxis(const QVector<QPointF> &points);
