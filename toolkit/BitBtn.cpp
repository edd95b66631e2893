// Bitmap button identity and its published Kind.
#include "toolkit/BitBtn.h"

#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <array>

namespace {
constexpr std::array<const wchar_t*, 11> kKindNames{L"bkCustom", L"bkOK",    L"bkCancel", L"bkHelp",
                                                    L"bkYes",    L"bkNo",    L"bkClose",  L"bkAbort",
                                                    L"bkRetry",  L"bkIgnore", L"bkAll"};
const TPropertyInfo kBitBtnProps[] = {
    {L"Kind", [](const TObject& o) { return std::wstring(kKindNames[size_t(static_cast<const TBitBtn&>(o).Kind())]); },
     [](TObject& o, std::wstring_view v) {
         for (size_t i = 0; i < kKindNames.size(); ++i)
             if (SameText(kKindNames[i], v)) {
                 static_cast<TBitBtn&>(o).SetKind(TBitBtnKind(i));
                 return;
             }
         throw EConvertError(L"'" + std::wstring(v) + L"' is not a valid Kind");
     }},
};
} // namespace

const TClassInfo TBitBtn::StaticClass{L"TBitBtn", &TButton::StaticClass, kBitBtnProps};
