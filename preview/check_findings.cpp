#include "check_findings.h"

#include <cwchar>

#include "duplex/duplex_texts.h"
#include "resource.h"

std::vector<TextSource> requestedTexts(const PreviewOptions& options)
{
    std::vector<TextSource> sources;
    auto add = [&sources](int controlId, std::vector<UINT> ids, bool readByDialog = true) {
        sources.push_back({controlId, std::move(ids), readByDialog});
    };
    switch (options.kind) {
    case DialogKind::Warning: {
        const WarningRequest& request = options.warning;
        add(0, {request.captionId});
        if (options.messageId)
            add(IDC_WARNING_MESSAGE, {options.messageId}, false);
        add(IDOK, {request.okButtonTextId});
        add(IDCANCEL, {request.cancelButtonTextId});
        add(IDC_WARNING_THIRD, {request.thirdButtonTextId});
        add(IDC_WARNING_CHECK, {kStringDoNotShowAgain});
        break;
    }
    case DialogKind::Duplex: {
        const DuplexRequest& request = options.duplex;
        add(0, {kStringDuplexCaption});
        add(IDC_DUPLEX_INTRO, {duplexIntroId(request)});
        add(IDC_DUPLEX_STEP1_NUMBER, {kStringStep1Number});
        add(IDC_DUPLEX_STEP1_TEXT, {request.step1TextId});
        add(IDC_DUPLEX_STEP2_NUMBER, {kStringStep2Number});
        add(IDC_DUPLEX_STEP2_TEXT, {request.step2TextId});
        add(IDC_DUPLEX_STEP3_NUMBER, {kStringStep3Number});
        if (joinsPressGoLine(request))
            add(IDC_DUPLEX_STEP3_TEXT, {kStringInsertStack, kStringPressGo});
        else
            add(IDC_DUPLEX_STEP3_TEXT, {request.step3TextId});
        add(IDOK, {duplexOkButtonId(request)});
        add(IDC_DUPLEX_HELP, {kStringHelpButton});
        break;
    }
    case DialogKind::JobStorage:
        add(0, {kStringJobStorageCaption});
        add(IDC_JOB_STORAGE_HEADING, {kStringStoredAt});
        add(IDC_JOB_STORAGE_USER_LABEL, {kStringUserName});
        add(IDC_JOB_STORAGE_JOB_LABEL, {kStringJobName});
        add(IDC_JOB_STORAGE_CHECK, {kStringDoNotShowAgain});
        add(IDOK, {kStringOkButton});
        add(IDC_JOB_STORAGE_HELP, {kStringHelpButton});
        break;
    }
    return sources;
}

namespace {

std::wstring joinIds(const std::vector<UINT>& ids, const wchar_t* separator)
{
    std::wstring joined;
    for (UINT id : ids)
        joined += (joined.empty() ? L"" : separator) + std::to_wstring(id);
    return joined;
}

std::wstring jsonString(const std::wstring& text)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            quoted += L'\\';
            quoted += c;
        } else if (c < 0x20) {
            wchar_t escape[8];
            swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + L"\"";
}

} // namespace

std::wstring findingLine(const CheckSetting& setting, const Finding& finding)
{
    const std::wstring ids = joinIds(finding.stringIds, L"+");
    return setting.language + L" " + std::to_wstring(setting.dpi) + L"dpi " + setting.dialogName +
           L" string " + (ids.empty() ? L"-" : ids) + L" control " +
           (finding.controlId ? std::to_wstring(finding.controlId) : L"caption") + L" " +
           finding.problem + L": " + finding.detail;
}

std::wstring findingJson(const CheckSetting& setting, const Finding& finding)
{
    return L"{\"language\":" + jsonString(setting.language) + L",\"dpi\":" + std::to_wstring(setting.dpi) +
           L",\"dialog\":" + jsonString(setting.dialogName) + L",\"stringIds\":[" +
           joinIds(finding.stringIds, L",") + L"],\"controlId\":" + std::to_wstring(finding.controlId) +
           L",\"problem\":" + jsonString(finding.problem) + L",\"amount\":" + std::to_wstring(finding.amount) +
           L",\"unit\":" + jsonString(finding.unit) + L",\"detail\":" + jsonString(finding.detail) + L"}";
}
