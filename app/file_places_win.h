#pragma once

#include <string>

// Whether two paths name the same existing directory, however each is spelled: another case,
// a short name, a drive letter or a mount standing for the same folder. False when either
// cannot be opened.
bool SameDirectory(const std::string& first, const std::string& second);

// Whether two existing directories lie on one volume; false when either cannot be opened.
bool SameVolume(const std::string& first, const std::string& second);

// The user's temporary folder, with its trailing backslash.
std::string TemporaryDirectory();
