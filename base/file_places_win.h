#pragma once

#include <string>

// How two existing directories stand to each other, however each is spelled: another case, a
// short name, a drive letter or a mount standing for the same folder. Neither holds when either
// cannot be opened.
struct DirectoryRelation {
  bool sameDirectory = false;
  bool sameVolume = false;
};
DirectoryRelation RelateDirectories(const std::string& first, const std::string& second);

// The user's temporary folder, with its trailing backslash.
std::string TemporaryDirectory();

// The tool's own folder in the user's temporary folder, made if it is not there yet, with its
// trailing backslash: one fixed folder for the files the tool opens in other programs, reused.
std::string ToolTemporaryDirectory();

// Whether the root folder of a drive ("E:\") can be read: not that of an empty card slot, nor
// that of a drive that has gone.
bool DriveRootAnswers(const std::string& root);
