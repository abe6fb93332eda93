// CCommandLineInfo: what the program was asked to do by its command line.
//
// CWinApp::ParseCommandLine splits the line by the system's rules (see
// AfxSplitCommandLine) and hands each argument to ParseParam, with flags
// ("/x" or "-x") passed without their prefix.
#ifndef VA_FRAMEWORK_APP_COMMANDLINEINFO_H
#define VA_FRAMEWORK_APP_COMMANDLINEINFO_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"

class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,      // no file named: start empty
        FileOpen,     // m_strFileName names a file or URL
        FilePrint,    // "/p" with a file
        FileDDE,      // "/dde": the request comes by DDE
        FileNothing = -1
    };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // bLast: this is the last argument.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};

// Splits a command line into arguments: blanks separate them outside double
// quotes; 2n backslashes before a quote give n backslashes and the quote
// toggles quoting, 2n+1 give n and a literal quote; other backslashes are
// literal. A cp932 trail byte 0x5C is part of its character, not a backslash.
void AfxSplitCommandLine(LPCSTR lpszCmdLine, CStringArray& rArgs);

#endif // VA_FRAMEWORK_APP_COMMANDLINEINFO_H
