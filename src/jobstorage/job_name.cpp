#include "jobstorage/job_name.h"

#include <string>

#include "common/string_block.h"

namespace {

const uint16_t kJobNameSuffix[] = {'(', '1', '-', '9', '9', ')', 0};

size_t textLength(const uint16_t* text)
{
    return std::char_traits<char16_t>::length(reinterpret_cast<const char16_t*>(text));
}

} // namespace

bool wantsJobNameSuffix(uint32_t suffixFlagA, uint32_t suffixFlagB)
{
    return suffixFlagA == 1 && suffixFlagB == 1;
}

void composeJobName(const uint16_t* jobName, uint32_t suffixFlagA, uint32_t suffixFlagB,
                    uint16_t (&buffer)[kJobNameUnits])
{
    copyTextCut(jobName, buffer, kJobNameUnits);
    if (!wantsJobNameSuffix(suffixFlagA, suffixFlagB))
        return;
    const size_t used = textLength(buffer);
    copyTextCut(kJobNameSuffix, buffer + used, kJobNameUnits - used);
}
