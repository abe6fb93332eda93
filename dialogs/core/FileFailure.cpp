#include "dialogs/core/FileFailure.h"

#include "dialogs/core/FormsetApp.h"

namespace {

// "ファイルを読み込めませんでした。", "ファイルに書き込めませんでした。"
const char kCannotRead[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9"
                           "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
const char kCannotWrite[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9"
                            "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
// "理由: "
const char kReasonLead[] = "\x97\x9D\x97\x52: ";
// "このファイルは書き換えずに、そのまま残します。"
const char kLeftAsItIs[] = "\x82\xB1\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8F\x91\x82\xAB\x8A\xB7\x82\xA6"
                           "\x82\xB8\x82\xC9\x81\x41\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x8E\x63\x82\xB5\x82\xDC\x82\xB7"
                           "\x81\x42";
// "変更は保存されず、このファイルは元のまま残っています。"
const char kNotSaved[] = "\x95\xCF\x8D\x58\x82\xCD\x95\xDB\x91\xB6\x82\xB3\x82\xEA\x82\xB8\x81\x41\x82\xB1"
                         "\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8C\xB3\x82\xCC\x82\xDC\x82\xDC"
                         "\x8E\x63\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42";

} // namespace

void ShowFileFailure(HWND hOwner, bool bWrite, const CString& path, const CString& reason, const CString& note)
{
    CString text = CString(bWrite ? kCannotWrite : kCannotRead) + "\n" + path;
    if (!reason.IsEmpty())
        text += CString("\n") + kReasonLead + reason;
    if (!note.IsEmpty())
        text += "\n" + note;
    ::MessageBoxA(hOwner, text, FormsetApp().GetProductName(), MB_OK | MB_ICONEXCLAMATION);
}

bool TellIfUnreadable(HWND hOwner, const FileReadState& state)
{
    if (!state.IsUnreadable())
        return false;
    ShowFileFailure(hOwner, false, state.path, state.Reason(), kLeftAsItIs);
    return true;
}

void TellNotSaved(HWND hOwner, const CString& path, DWORD error)
{
    ShowFileFailure(hOwner, true, path, error != 0 ? FileReadState::ReasonOf(error) : CString(), kNotSaved);
}

bool TellIfListUnreadable(HWND hOwner, const CString& path)
{
    CFile file;
    return TellIfUnreadable(hOwner, file.OpenToRead(path, CFile::modeRead | CFile::shareDenyNone));
}
