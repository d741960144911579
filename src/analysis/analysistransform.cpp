#include "analysis/analysistransform.h"

#include "fft/fouriertransformer.h"

#include <QDebug>

void setUpAnalysisTransform(FourierTransformer &transformer, int size)
{
    const FourierTransformer::SizeResult result = transformer.setSize(size);
    if (result == FourierTransformer::VariableSize)
        qDebug() << "This size is not a default fixed size of the FFT engine. Using a variable size instead.\n";
    else if (result == FourierTransformer::InvalidSize)
        qDebug() << "Invalid FFT size.\n";
    transformer.setWindowFunction(QStringLiteral("Rectangular"));
}
