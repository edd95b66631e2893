// TSkinReader opens a skin archive held in memory and hands out its entries by name.
#pragma once

#include "skin/archive/MemoryStream.h"
#include "toolkit/Exception.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// An archive whose structure cannot be trusted: refused whole rather than read in part.
class ESkinReadError : public Exception {
public:
    using Exception::Exception;
};

// Shows a message to the user; the Windows side binds the message box.
using TShowMessage = std::function<void(const std::wstring& text)>;

class TSkinReader {
public:
    static constexpr int kMaxNames = 1001;
    // No skin comes near this; a larger claim is corruption, and decoding it would only
    // spend memory on zeros.
    static constexpr int32_t kMaxPayload = 64 * 1024 * 1024;

    static constexpr const wchar_t* kOlderSkin =
        L"This is Older Skin File\rPlease update to new version !";
    static constexpr const wchar_t* kNoLength = L"Skin archive: shorter than its length field";
    static constexpr const wchar_t* kNegativeLength = L"Skin archive: negative payload length";
    static constexpr const wchar_t* kLengthTooLarge = L"Skin archive: payload length above 64 MiB";
    static constexpr const wchar_t* kNoReservedBlock = L"Skin archive: reserved block runs past the payload";
    static constexpr const wchar_t* kBadNameLength = L"Skin archive: name text runs past the payload";
    static constexpr const wchar_t* kTooManyNames = L"Skin archive: more than 1001 entry names";
    static constexpr const wchar_t* kNoSizeTable = L"Skin archive: size table runs past the payload";
    static constexpr const wchar_t* kNegativeSize = L"Skin archive: negative entry size";
    static constexpr const wchar_t* kSizesPastData = L"Skin archive: entry sizes run past the data region";

    struct THeader {
        int32_t Version = 0;
        int32_t NameLength = 0;
        int32_t Reserved1 = 0;
        int32_t Reserved2 = 0;
    };

    explicit TSkinReader(TShowMessage showMessage = {});

    // True when the version is known and the directory was read. An unknown version or a
    // payload too short for its header shows kOlderSkin and gives false; a directory that
    // contradicts the payload raises ESkinReadError, a broken stream ElzhException.
    bool OpenArchive(TMemoryStream& source);

    // Target holds the first entry of that name (ASCII case ignored) at position 0, or is empty.
    void ExtractEntry(std::string_view name, TMemoryStream& target) const;
    // Target holds the first entry whose lower-case name contains the fragment, and name is
    // set to it; with no match the target is empty and name is left alone.
    void FindEntry(std::string_view fragment, TMemoryStream& target, std::string& name) const;

    // The whole decoded payload of an archive, before anything of its directory is read.
    static TMemoryStream DecompressArchive(TMemoryStream& source);

    // Reserved block length for a version, or -1 for an unknown one.
    static int ReservedLength(int32_t version) noexcept;

    const THeader& Header() const noexcept { return FHeader; }
    int Count() const noexcept { return static_cast<int>(FNames.size()); }
    const std::vector<std::string>& Names() const noexcept { return FNames; }
    const std::vector<int32_t>& Sizes() const noexcept { return FSizes; }
    const TMemoryStream& Data() const noexcept { return FData; }

private:
    // Walks names and offsets in archive order and copies the first entry the test accepts.
    template <typename TTest>
    const std::string* CopyFirst(TTest test, TMemoryStream& target) const;

    TShowMessage FShowMessage;
    THeader FHeader;
    std::vector<std::string> FNames;
    std::vector<int32_t> FSizes;
    TMemoryStream FData;
};

// ASCII capitals to lower case; other bytes, ANSI ones included, stay as they are.
std::string LowerAscii(std::string_view text);

// Name text split into lines: CR LF, CR or LF end a line, NUL ends the text, a final line
// without terminator counts, and an empty line between two terminators is a name of its own.
std::vector<std::string> SplitNameText(std::string_view text);
