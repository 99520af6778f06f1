#pragma once
// How numbers and colours are written as text wherever the host writes them: parameter
// strings, the state dump, the application's commands.

#include "kavhost_export.h"

#include <QString>
#include <QtGlobal>

namespace Kav {

// The shortest text that reads back to the very same double, in the C locale: "0.1",
// "0.30000000000000004", "1e-300", "1e+21". Negative zero is "-0", so that it reads back
// with its sign; the values that are no numbers are "nan", "inf" and "-inf".
KAVHOST_EXPORT QString numberText(double value);

// "#rrggbb", lower case, from the low 24 bits of `rgb`.
KAVHOST_EXPORT QString colorText(quint32 rgb);

} // namespace Kav
