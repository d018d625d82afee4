#pragma once

#include "firmware/integrity.h"

// Hashes the payloads the executable carries, as they lie in memory, and compares them with the
// digests the build recorded. A check that cannot be made gives both verdicts unchecked.
IntegrityVerdicts CheckEmbeddedPayloads();

// The check above, made once on a thread of its own. The first call starts it; start-up makes it,
// so that the verdicts are in long before the first click.
const PendingIntegrity& StartupIntegrityCheck();

// The SHA-256 of the set the executable carries, its payloads' bytes in catalogue order, as the
// build recorded it: the set's fingerprint, in hexadecimal.
const char* EmbeddedFirmwareSetSha256();
