// cp932 to UTF-8 through the system's code-page tables.
#include <windows.h>

#include <vector>

#include "lists/SearchUrl.h"

int ConvertAnsiToUtf8(const CString& in, CString& out)
{
    out.Empty();
    if (in.IsEmpty())
        return 0;
    // The keyword is cp932 whatever the locale of the machine.
    const UINT kCodePage = 932;
    std::vector<wchar_t> wide(static_cast<size_t>(in.GetLength()) * 2 + 2);
    int wideLength = MultiByteToWideChar(kCodePage, 0, in.GetString(), in.GetLength(),
                                         wide.data(), static_cast<int>(wide.size()));
    if (wideLength <= 0)
        return 1;
    std::vector<char> utf8(static_cast<size_t>(in.GetLength()) * 3 + 2);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(),
                                     static_cast<int>(utf8.size()), nullptr, nullptr);
    if (length > 0)
        out = CString(utf8.data(), length);
    return 1;
}
