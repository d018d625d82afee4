#pragma once

#include <future>

#include "firmware/integrity.h"

// A check of the embedded payloads that has already given its verdicts: intact unless told.
inline PendingIntegrity DecidedCheck(IntegrityVerdicts verdicts = {}) {
  std::promise<IntegrityVerdicts> promise;
  promise.set_value(std::move(verdicts));
  return promise.get_future().share();
}
