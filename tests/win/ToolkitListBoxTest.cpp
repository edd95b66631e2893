// The list box answers for its lines as a list box of strings does: to its own process in
// wide and narrow characters, and to another process, as a screen reader or a test engineer's
// script reads it, at a million lines. A standard list box of strings beside it is the measure.
// The program plays both sides: started with --host it holds the windows until closed.
#include "tests/win/TestSupport.h"

#include "toolkit/Form.h"
#include "toolkit/ListBox.h"
#include "toolkit/WinHandle.h"

#include <cstring>

namespace {

constexpr size_t kHostLines = 1000000;
constexpr size_t kReferenceLines = 3; // the reference holds the host's first lines
constexpr int kHostSelection = 500000;
constexpr char kHostFlag[] = "--host";

// Lines of different lengths, some with characters no narrow code page of the West has.
std::wstring LineText(size_t index)
{
    std::wstring line = L"RX: " + std::to_wstring(index);
    if (index % 2 == 0)
        line += L" ----25.3 ℃  45.6 rh%  采集成功";
    return line;
}

struct TBoxes {
    TListBox* Ours;
    HWND Reference;
};

// Both boxes on a form, with the same lines at the start; `lines` goes to ours only.
TBoxes MakeBoxes(TApplication& app, size_t lines)
{
    auto* form = app.Make<TForm>();
    form->SetBounds(10, 10, 400, 300);
    auto* ours = app.Make<TListBox>();
    ours->SetParent(form);
    ours->SetBounds(0, 0, 190, 200);
    for (size_t i = 0; i < lines; ++i)
        ours->AddItem(LineText(i)); // before the window exists, so the count arrives once
    ours->HandleNeeded();
    const HWND reference = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, 200, 0, 190,
                                             200, form->Handle(), nullptr, nullptr, nullptr);
    for (size_t i = 0; i < kReferenceLines; ++i)
        ::SendMessageW(reference, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineText(i).c_str()));
    return {ours, reference};
}

// What one call answers: its result and the buffer after it (the buffer starts as a pattern,
// so a terminator written or bytes left alone both show).
struct TAnswer {
    LRESULT Result;
    std::string Buffer;
    bool operator==(const TAnswer&) const = default;
};

enum class TCaller { Wide, Narrow };

TAnswer Ask(HWND box, TCaller caller, UINT msg, WPARAM index)
{
    std::string buffer(256 * sizeof(wchar_t), '\x7f');
    const LPARAM lParam = msg == LB_GETTEXT ? reinterpret_cast<LPARAM>(buffer.data()) : 0;
    DWORD_PTR result = 0;
    const bool answered =
        caller == TCaller::Wide
            ? ::SendMessageTimeoutW(box, msg, index, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0
            : ::SendMessageTimeoutA(box, msg, index, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    return {answered ? static_cast<LRESULT>(result) : LRESULT{-2}, buffer};
}

std::wstring WideText(const TAnswer& answer)
{
    return reinterpret_cast<const wchar_t*>(answer.Buffer.data());
}

void PrintTo(const TAnswer& answer, std::ostream* out)
{
    *out << "result " << answer.Result << ", buffer starts " << testing::PrintToString(answer.Buffer.substr(0, 16));
}

// The same questions to both boxes, wide and narrow: the answers must not differ. `past`
// is an index beyond each box's end.
void ExpectAnswersLikeTheReference(HWND ours, HWND reference, WPARAM oursPast)
{
    const struct { WPARAM Ours, Reference; } indexes[] = {
        {0, 0}, {1, 1}, {2, 2}, {oursPast, kReferenceLines}, {static_cast<WPARAM>(-1), static_cast<WPARAM>(-1)}};
    for (const auto& index : indexes)
        for (const TCaller caller : {TCaller::Wide, TCaller::Narrow})
            for (const UINT msg : {UINT{LB_GETTEXT}, UINT{LB_GETTEXTLEN}}) {
                SCOPED_TRACE(testing::Message() << "index " << static_cast<long long>(index.Ours) << ", "
                                                << (caller == TCaller::Wide ? "wide" : "narrow") << ", "
                                                << (msg == LB_GETTEXT ? "LB_GETTEXT" : "LB_GETTEXTLEN"));
                const TAnswer expected = Ask(reference, caller, msg, index.Reference);
                const TAnswer answer = Ask(ours, caller, msg, index.Ours);
                EXPECT_EQ(answer, expected) << "the second is what a list box of strings answers";
            }
}

HWND FindChild(HWND parent, const wchar_t* className) { return ::FindWindowExW(parent, nullptr, className, nullptr); }

// ---- The host side.

int Host(const std::wstring& readyEventName)
{
    TApplication app;
    app.Initialize();
    const TBoxes boxes = MakeBoxes(app, kHostLines);
    boxes.Ours->SetItemIndex(kHostSelection);
    ::SendMessageW(boxes.Ours->Handle(), LB_SETTOPINDEX, kHostSelection - 3, 0);
    const win::Handle ready{::OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEventName.c_str())};
    if (!ready || !::SetEvent(ready.get()))
        return 2;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_APP)
            break; // the reading side is done
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

// ---- The reading side.

class ToolkitListBoxTest : public TAppTest {};

TEST_F(ToolkitListBoxTest, AnswersTextAndLengthInItsOwnProcessAsAListBoxOfStrings)
{
    const TBoxes boxes = MakeBoxes(App, kReferenceLines);
    ExpectAnswersLikeTheReference(boxes.Ours->Handle(), boxes.Reference, kReferenceLines);

    // Without a buffer the list box of strings gives the length; narrow callers get the
    // system's conversion, a question mark for what their code page lacks.
    EXPECT_EQ(::SendMessageW(boxes.Ours->Handle(), LB_GETTEXT, 0, 0),
              ::SendMessageW(boxes.Reference, LB_GETTEXT, 0, 0));
    char narrow[128] = "";
    ASSERT_EQ(::SendMessageA(boxes.Ours->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(narrow)),
              static_cast<LRESULT>(LineText(0).size()));
    EXPECT_EQ(std::string(narrow).substr(0, 5), "RX: 0");
    EXPECT_EQ(std::strlen(narrow), LineText(0).size());

    // A window made again answers as well: the style that carries text across survives it.
    boxes.Ours->DestroyHandle();
    boxes.Ours->HandleNeeded();
    EXPECT_EQ(WideText(Ask(boxes.Ours->Handle(), TCaller::Wide, LB_GETTEXT, 2)), LineText(2));
}

TEST_F(ToolkitListBoxTest, AnotherProcessReadsAMillionLinesWithoutMovingTheSelection)
{
    // The host starts with its own path and waits to be told to end.
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring eventName = L"Local\\QM27K-ToolkitListBoxTest-" + std::to_wstring(::GetCurrentProcessId());
    const win::Handle ready{::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str())};
    ASSERT_TRUE(ready);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --host " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const win::Handle process{info.hProcess};
    const win::Handle thread{info.hThread};
    const HANDLE waits[] = {ready.get(), process.get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, 60000), WAIT_OBJECT_0) << "the host filled its list";

    HWND form = nullptr;
    while ((form = ::FindWindowExW(nullptr, form, L"TForm", nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(form, &owner);
        if (owner == info.dwProcessId)
            break;
    }
    ASSERT_NE(form, nullptr);
    const HWND ours = FindChild(form, L"TListBox");
    const HWND reference = FindChild(form, L"ListBox");
    ASSERT_NE(ours, nullptr);
    ASSERT_NE(reference, nullptr);
    ASSERT_EQ(::SendMessageW(ours, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(kHostLines));
    const LRESULT top = ::SendMessageW(ours, LB_GETTOPINDEX, 0, 0);

    for (const size_t index : {size_t{0}, kHostLines / 2 + 1, kHostLines - 1}) {
        SCOPED_TRACE(index);
        const std::wstring expected = LineText(index);
        EXPECT_EQ(Ask(ours, TCaller::Wide, LB_GETTEXTLEN, index).Result, static_cast<LRESULT>(expected.size()));
        const TAnswer text = Ask(ours, TCaller::Wide, LB_GETTEXT, index);
        EXPECT_EQ(text.Result, static_cast<LRESULT>(expected.size()));
        EXPECT_EQ(WideText(text), expected);
    }
    ExpectAnswersLikeTheReference(ours, reference, kHostLines);

    EXPECT_EQ(::SendMessageW(ours, LB_GETCURSEL, 0, 0), kHostSelection) << "reading moves no selection";
    EXPECT_EQ(::SendMessageW(ours, LB_GETTOPINDEX, 0, 0), top) << "nor the view";
    EXPECT_EQ(top, kHostSelection - 3);

    ::PostThreadMessageW(info.dwThreadId, WM_APP, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(process.get(), &code));
    EXPECT_EQ(code, 0u);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kHostFlag) == 0) {
        const std::string name = argv[2]; // the reading side's event, in ASCII
        return Host(std::wstring(name.begin(), name.end()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
