// cp932 to UTF-8 in the native build, through iconv.
#include <iconv.h>

#include <vector>

#include "lists/SearchUrl.h"

int ConvertAnsiToUtf8(const CString& in, CString& out)
{
    out.Empty();
    if (in.IsEmpty())
        return 0;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return 1;
    std::vector<char> source(in.GetString(), in.GetString() + in.GetLength());
    std::vector<char> target(source.size() * 3 + 2);
    char* inPtr = source.data();
    size_t inLeft = source.size();
    char* outPtr = target.data();
    size_t outLeft = target.size();
    while (inLeft > 0 && iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        // An invalid byte becomes "?", as the system conversion does.
        if (outLeft == 0)
            break;
        *outPtr++ = '?';
        --outLeft;
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    out = CString(target.data(), static_cast<int>(outPtr - target.data()));
    return 1;
}
