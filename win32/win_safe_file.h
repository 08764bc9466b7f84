// Reading a file whole and replacing it safely: the settings file and the usage file both
// go through here. A save writes a temporary file beside the file, flushes it and
// replaces the old file in one step, so a crash mid-save never leaves a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace ripplet {

// A missing file and a file that is there but cannot be read are different cases: the
// first means nothing has been kept yet, the second holds content the program must never
// replace.
enum class FileReadOutcome { NoFile, Read, Unreadable };

struct WholeFileRead {
  FileReadOutcome Outcome = FileReadOutcome::NoFile;
  std::string Bytes;  // the whole file when Outcome is Read, else empty
};

// The whole file; one larger than 1 GiB is Unreadable.
WholeFileRead ReadWholeFile(const std::wstring& path);

// Replaces the file with `bytes`. Throws AppError("<path> に書き込めません") when the file is
// read-only or any step fails; the old file is then left as it was.
// The new file takes over the old one's attributes and access list before the rename;
// a symbolic link has its target written and stays a link. When the folder refuses the
// temporary file or the file refuses the rename but can itself be written, it is rewritten
// in place, flushed. A save that succeeds removes the temporary files beside it that
// killed saves left (their process is gone).
void ReplaceFileSafely(const std::wstring& path, std::string_view bytes);

}  // namespace ripplet
