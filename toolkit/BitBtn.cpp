// Bitmap button identity and its published Kind.
#include "toolkit/BitBtn.h"

#include "toolkit/SysUtils.h"

#include <array>

namespace {
constexpr std::array<const wchar_t*, 11> kKindNames{L"bkCustom", L"bkOK",    L"bkCancel", L"bkHelp",
                                                    L"bkYes",    L"bkNo",    L"bkClose",  L"bkAbort",
                                                    L"bkRetry",  L"bkIgnore", L"bkAll"};
const TPropertyInfo kBitBtnProps[] = {
    {L"Kind", [](const TObject& o) { return std::wstring(kKindNames[size_t(static_cast<const TBitBtn&>(o).Kind())]); },
     [](TObject& o, std::wstring_view v) {
         static_cast<TBitBtn&>(o).SetKind(TBitBtnKind(IndexOfName(kKindNames, v, L"Kind")));
     }},
};
} // namespace

const TClassInfo TBitBtn::StaticClass{L"TBitBtn", &TButton::StaticClass, kBitBtnProps};
