// Texts from the data files used as printf formats for numbers. A data file
// may hold anything, so a text is used as a format only when each of its
// conversions is an integer conversion ("%d", "%04x" ...) and there are no
// more of them than numbers given; otherwise it stands literally.
#ifndef VA_SHARED_NUMBERFORMAT_H
#define VA_SHARED_NUMBERFORMAT_H

#include "framework/core/CString.h"

namespace NumberFormat {

// Whether format takes at most maxNumbers integer arguments and nothing else
// ("%%" is a literal percent sign).
bool IsNumberFormat(LPCTSTR format, int maxNumbers);

// format filled with first and second when it is a number format of at most
// two conversions, else format unchanged.
CString FormatTwo(const CString& format, unsigned first, unsigned second);

} // namespace NumberFormat

#endif // VA_SHARED_NUMBERFORMAT_H
