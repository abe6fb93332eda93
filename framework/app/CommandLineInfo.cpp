#include "framework/app/CommandLineInfo.h"

#include "framework/core/Cp932.h"

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag)
    {
        CString flag(pszParam);
        if (flag.CompareNoCase("dde") == 0)
            m_nShellCommand = FileDDE;
        else if (flag.CompareNoCase("p") == 0)
            m_nShellCommand = FilePrint;
        return;
    }
    if (!m_strFileName.IsEmpty())
        return;  // the first file counts
    m_strFileName = pszParam;
    if (m_nShellCommand == FileNew)
        m_nShellCommand = FileOpen;
}

void AfxSplitCommandLine(LPCSTR lpszCmdLine, CStringArray& rArgs)
{
    rArgs.RemoveAll();
    const char* p = lpszCmdLine ? lpszCmdLine : "";
    for (;;)
    {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            break;
        CString arg;
        bool bQuoted = false;
        while (*p != '\0' && (bQuoted || (*p != ' ' && *p != '\t')))
        {
            if (Cp932IsPair(p[0], p[1]))
            {
                arg.Append(p, 2);
                p += 2;
                continue;
            }
            if (*p == '\\')
            {
                int nSlashes = 0;
                while (*p == '\\')
                {
                    ++nSlashes;
                    ++p;
                }
                if (*p == '"')
                {
                    arg += CString('\\', nSlashes / 2);
                    if (nSlashes % 2 == 1)
                    {
                        arg += '"';
                        ++p;
                    }
                }
                else
                {
                    arg += CString('\\', nSlashes);
                }
                continue;
            }
            if (*p == '"')
                bQuoted = !bQuoted;
            else
                arg += *p;
            ++p;
        }
        rArgs.Add(arg);
    }
}
