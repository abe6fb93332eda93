#include "shared/NumberFormat.h"

#include <cstring>

namespace NumberFormat {

bool IsNumberFormat(LPCTSTR format, int maxNumbers)
{
    if (format == nullptr)
        return false;
    int numbers = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        while (*p != '\0' && std::strchr("-+ 0#", *p) != nullptr)
            ++p;
        // Widths and precisions are digits only: a "*" would take an argument.
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        if (*p == '\0' || std::strchr("diouxX", *p) == nullptr)
            return false;
        if (++numbers > maxNumbers)
            return false;
    }
    return true;
}

CString FormatTwo(const CString& format, unsigned first, unsigned second)
{
    if (!IsNumberFormat(format, 2))
        return format;
    CString text;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    text.Format(format, first, second);
#pragma GCC diagnostic pop
    return text;
}

} // namespace NumberFormat
