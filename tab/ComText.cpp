#include "tab/ComText.h"

#include <vector>

BSTR AnsiToBstr(LPCSTR text)
{
    if (text == nullptr)
        return nullptr;
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return ::SysAllocString(L"");
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (result != nullptr)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

CString WideToAnsi(LPCWSTR text)
{
    if (text == nullptr)
        return CString();
    int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(length));
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), length, nullptr, nullptr);
    return CString(buffer.data());
}
