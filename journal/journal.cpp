#include "journal/journal.h"

// A block larger than the limit on its own is still kept, alone: the newest block always is.
void Journal::Append(std::string block) {
  const std::lock_guard lock(mutex_);
  bytes_ += block.size();
  blocks_.push_back(std::move(block));
  while (bytes_ > kLimitBytes && blocks_.size() > 1) {
    bytes_ -= blocks_.front().size();
    blocks_.pop_front();
  }
}

bool Journal::Empty() const {
  const std::lock_guard lock(mutex_);
  return blocks_.empty();
}

std::string Journal::Text() const {
  const std::lock_guard lock(mutex_);
  std::string text;
  text.reserve(bytes_);
  for (const std::string& block : blocks_) text += block;
  return text;
}

Journal& ToolJournal() {
  static Journal journal;
  return journal;
}
