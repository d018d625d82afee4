#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

// What the tool did since it started, kept for support to read: one block a write run, a check
// of a stick, or a box shown outside them. It lives in memory only and is written to a file only
// when the operator asks to open it. Any thread may append; a lock keeps the blocks whole.
class Journal {
 public:
  // The newest blocks it keeps; the oldest whole blocks go to make room.
  static constexpr std::size_t kLimitBytes = 1024 * 1024;

  void Append(std::string block);
  bool Empty() const;
  // Every block, oldest first.
  std::string Text() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::string> blocks_;
  std::size_t bytes_ = 0;
};

// The one journal of the running tool.
Journal& ToolJournal();
