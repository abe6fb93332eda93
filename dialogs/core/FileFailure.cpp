#include "dialogs/core/FileFailure.h"

#include "dialogs/core/FormsetApp.h"
#include "shared/FileFailureText.h"

void ShowFileFailure(HWND hOwner, bool bWrite, const CString& path, const CString& reason, const CString& note)
{
    ::MessageBoxA(hOwner,
                  FileFailureText(bWrite ? FileFailureKind::kWrite : FileFailureKind::kRead, path, reason, note),
                  FormsetApp().GetProductName(), MB_OK | MB_ICONEXCLAMATION);
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
    ::MessageBoxA(hOwner, FileFailureText(FileFailureKind::kDelete, path, FileErrorReason(error)),
                  FormsetApp().GetProductName(), MB_OK | MB_ICONEXCLAMATION);
}

bool TellIfListUnreadable(HWND hOwner, const CString& path)
{
    CFile file;
    return TellIfUnreadable(hOwner, file.OpenToRead(path, CFile::modeRead | CFile::shareDenyNone));
}
