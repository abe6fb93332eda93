#include "shared/FileFailureText.h"

#include "framework/core/File.h"

namespace {

// "ファイルを読み込めませんでした。", "ファイルに書き込めませんでした。",
// "ファイルを削除できませんでした。"
const char kCannotRead[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9"
                           "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
const char kCannotWrite[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9"
                            "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
const char kCannotDelete[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x8D\xED\x8F\x9C\x82\xC5\x82\xAB\x82\xDC\x82\xB9"
                             "\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
// "レジストリに書き込めませんでした。"
const char kCannotWriteRegistry[] = "\x83\x8C\x83\x57\x83\x58\x83\x67\x83\x8A\x82\xC9\x8F\x91\x82\xAB\x8D\x9E"
                                    "\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";
// "理由: "
const char kReasonLead[] = "\x97\x9D\x97\x52: ";

} // namespace

const char kFileLeftAsItIsNote[] = "\x82\xB1\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8F\x91\x82\xAB\x8A\xB7"
                                   "\x82\xA6\x82\xB8\x82\xC9\x81\x41\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x8E\x63\x82\xB5"
                                   "\x82\xDC\x82\xB7\x81\x42";
const char kFileNotSavedNote[] = "\x95\xCF\x8D\x58\x82\xCD\x95\xDB\x91\xB6\x82\xB3\x82\xEA\x82\xB8\x81\x41\x82\xB1"
                                 "\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8C\xB3\x82\xCC\x82\xDC\x82\xDC"
                                 "\x8E\x63\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42";

CString FileFailureText(FileFailureKind kind, const CString& path, const CString& reason, const CString& note)
{
    const char* lead = kind == FileFailureKind::kRead     ? kCannotRead
                       : kind == FileFailureKind::kWrite  ? kCannotWrite
                       : kind == FileFailureKind::kDelete ? kCannotDelete
                                                          : kCannotWriteRegistry;
    CString text = CString(lead) + "\n" + path;
    if (!reason.IsEmpty())
        text += CString("\n") + kReasonLead + reason;
    if (!note.IsEmpty())
        text += "\n" + note;
    return text;
}

CString FileErrorReason(DWORD error)
{
    return error != 0 ? FileReadState::ReasonOf(error) : CString();
}

void TellFileNotSaved(HWND hOwner, LPCSTR caption, const CString& path, DWORD error)
{
    ::MessageBoxA(hOwner, FileFailureText(FileFailureKind::kWrite, path, FileErrorReason(error), kFileNotSavedNote),
                  caption, MB_OK | MB_ICONEXCLAMATION);
}
