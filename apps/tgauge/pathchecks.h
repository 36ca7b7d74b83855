#pragma once

#include <QString>

namespace TGauge {

// Why a run could not read the file, or an empty text when it can.
QString inputFileProblem(const QString &fileName);
// Why a run could not create or replace the file, or an empty text when it can.
QString outputFileProblem(const QString &fileName);

} // namespace TGauge
