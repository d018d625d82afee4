#pragma once

#include <string>

// Adds or removes a drive letter through Wine's mount manager, as plugging a USB stick in or
// pulling it out would; programs that are running see the change at once. An empty Unix path
// removes the letter. Returns whether the mount manager took the request.
bool DefineWineDrive(wchar_t letter, unsigned driveType, const std::string& unixPath);

// The Unix path Wine keeps behind a Windows path; empty when there is none.
std::string WineUnixPath(const std::wstring& windowsPath);

// Broadcasts to every top-level window that the volume of a drive letter has arrived or gone,
// as Windows does when a USB stick is plugged in or pulled out. Wine's mount manager leaves
// this out for drives defined as above, so whoever defines one announces it. Returns once
// every window has handled the message.
void AnnounceVolume(wchar_t letter, bool arrived);
