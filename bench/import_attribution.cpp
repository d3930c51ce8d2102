#include <algorithm>

#include "import_profile.h"

std::vector<ProfileShare> attributeCalls(const std::vector<ImportCall>& calls,
                                         const std::vector<Span>& spans, int functions)
{
    std::vector<ProfileShare> shares(functions + 1);
    for (int function = 0; function < functions; ++function)
        shares[function].function = function;
    ProfileShare& rest = shares[functions];
    rest.function = -1;

    for (const Span& span : spans) {
        if (span.end <= span.start)
            continue;
        std::vector<ImportCall> inside;
        for (ImportCall call : calls) {
            if (call.thread != span.thread || call.function < 0 || call.function >= functions)
                continue;
            call.start = std::max(call.start, span.start);
            call.end = std::min(call.end, span.end);
            if (call.end > call.start)
                inside.push_back(call);
        }
        // Outer calls first where two start together, so that the inner one nests.
        std::sort(inside.begin(), inside.end(), [](const ImportCall& a, const ImportCall& b) {
            return a.start != b.start ? a.start < b.start : a.end > b.end;
        });

        std::vector<LONGLONG> own(inside.size());
        std::vector<size_t> open;
        LONGLONG outermost = 0;
        for (size_t index = 0; index < inside.size(); ++index) {
            const ImportCall& call = inside[index];
            while (!open.empty() && inside[open.back()].end <= call.start)
                open.pop_back();
            own[index] = call.end - call.start;
            if (open.empty())
                outermost += own[index];
            else
                own[open.back()] -= std::min(own[open.back()], call.end - call.start);
            open.push_back(index);
        }
        for (size_t index = 0; index < inside.size(); ++index) {
            shares[inside[index].function].ticks += own[index];
            ++shares[inside[index].function].calls;
        }
        rest.ticks += (span.end - span.start) - outermost;
        ++rest.calls;
    }
    return shares;
}
