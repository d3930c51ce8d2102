#include "jobstorage/job_name.h"

#include <cwchar>

#include "common/string_block.h"

namespace {

const wchar_t kJobNameSuffix[] = L"(1-99)";

} // namespace

bool wantsJobNameSuffix(uint32_t suffixFlagA, uint32_t suffixFlagB)
{
    return suffixFlagA == 1 && suffixFlagB == 1;
}

void composeJobName(const wchar_t* jobName, uint32_t suffixFlagA, uint32_t suffixFlagB,
                    wchar_t (&buffer)[kJobNameUnits])
{
    copyTextCut(jobName, buffer, kJobNameUnits);
    if (!wantsJobNameSuffix(suffixFlagA, suffixFlagB))
        return;
    const size_t used = std::wcslen(buffer);
    copyTextCut(kJobNameSuffix, buffer + used, kJobNameUnits - used);
}
