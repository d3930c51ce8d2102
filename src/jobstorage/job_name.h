// The text of the job name box: the caller's job name, with "(1-99)" after it when the
// caller asks for the suffix.
#ifndef PRINTDIALOGS_JOB_NAME_H
#define PRINTDIALOGS_JOB_NAME_H

#include <cstddef>
#include <cstdint>

// Room for a full job name field (16 units) and the whole suffix, with space to spare.
constexpr size_t kJobNameUnits = 25;

// Only the exact value 1 in both flags asks for the suffix; callers pass other non-zero
// values that must not add it.
bool wantsJobNameSuffix(uint32_t suffixFlagA, uint32_t suffixFlagB);

// Fills `buffer` with `jobName` (cut after 24 units), followed directly by "(1-99)" as
// far as it fits when both flags ask for it; always terminated.
void composeJobName(const wchar_t* jobName, uint32_t suffixFlagA, uint32_t suffixFlagB,
                    wchar_t (&buffer)[kJobNameUnits]);

#endif
