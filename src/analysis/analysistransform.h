#pragma once

class FourierTransformer;

/**
 * Sets transformer to size points with the "Rectangular" window: both analysis
 * paths weight the filled part of each frame themselves. A size without a
 * fixed calculator, or an invalid one, is only logged; an invalid size leaves
 * the transform doing nothing, so the caller's buffers keep their zeros.
 */
void setUpAnalysisTransform(FourierTransformer &transformer, int size);
