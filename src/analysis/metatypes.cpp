#include "analysis/metatypes.h"

#include <QList>
#include <QStringList>
#include <QVector>

void registerAnalysisMetaTypes()
{
    // The names are those the signals and slots spell, so that string-based
    // connections find them as well as the function-pointer ones.
    qRegisterMetaType<BlobMap>("BlobMap");
    qRegisterMetaType<BlobMap>("std::unordered_map<int,Blob>");
    qRegisterMetaType<MyBatCall>("MyBatCall");
    qRegisterMetaType<QList<MyBatCall>>("QList<MyBatCall>");
    qRegisterMetaType<QVector<double>>("QVector<double>");
    qRegisterMetaType<QVector<int>>("QVector<int>");
    qRegisterMetaType<std::vector<float>>("std::vector<float>");
    qRegisterMetaType<std::vector<int>>("std::vector<int>");
    qRegisterMetaType<std::vector<int> *>("std::vector<int>*");
}
