#include "dialogs/core/FileFailure.h"

#include "dialogs/core/FormsetApp.h"

void ShowFileFailure(HWND hOwner, FileFailureKind kind, const CString& path, const CString& reason,
                     const CString& note)
{
    ::MessageBoxA(hOwner, FileFailureText(kind, path, reason, note), FormsetApp().GetProductName(),
                  MB_OK | MB_ICONEXCLAMATION);
}

void ShowFileFailure(HWND hOwner, bool bWrite, const CString& path, const CString& reason, const CString& note)
{
    ShowFileFailure(hOwner, bWrite ? FileFailureKind::kWrite : FileFailureKind::kRead, path, reason, note);
}

bool TellIfUnreadable(HWND hOwner, const FileReadState& state)
{
    if (!state.IsUnreadable())
        return false;
    ShowFileFailure(hOwner, false, state.path, state.Reason(), kFileLeftAsItIsNote);
    return true;
}

void TellNotSaved(HWND hOwner, const CString& path, DWORD error)
{
    TellFileNotSaved(hOwner, FormsetApp().GetProductName(), path, error);
}

void TellNotDeleted(HWND hOwner, const CString& path, DWORD error)
{
    ShowFileFailure(hOwner, FileFailureKind::kDelete, path, FileErrorReason(error));
}

bool TellIfListUnreadable(HWND hOwner, const CString& path)
{
    CFile file;
    return TellIfUnreadable(hOwner, file.OpenToRead(path, CFile::modeRead | CFile::shareDenyNone));
}
