// TQuickIni: the skin definition text split into trimmed lines, answering section and key queries.
#pragma once

#include "skin/archive/MemoryStream.h"
#include "toolkit/Exception.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A caller broke an operation's contract (not bad input): the framework's assertion failure.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

class TQuickIni {
public:
    static constexpr const wchar_t* kStringsUnassigned = L"The parameter Strings is unassigned!";

    struct TSectionLine {
        std::string Header; // trimmed, brackets included
        int Line = 0;       // index of the header within Lines()
    };

    // Reads from the stream's position to its end and rebuilds both lists.
    void LoadFromStream(TMemoryStream& stream);
    void LoadFromText(std::string_view text);

    // Index in Lines() of the first header "[name]" (ASCII case ignored), or -1.
    int FindSection(std::string_view name) const;
    // The section names without brackets, in file order; a null target raises EAssertionFailed.
    void ReadSections(std::vector<std::string>* strings) const;
    // The first line of the key in the section (key ASCII case ignored); its value when not
    // empty, otherwise the default.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // A signed decimal or a $/0x hexadecimal value; the default for anything else.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;

    const std::vector<std::string>& Lines() const noexcept { return FLines; }
    const std::vector<TSectionLine>& Sections() const noexcept { return FSections; }

private:
    std::vector<std::string> FLines;
    std::vector<TSectionLine> FSections;
};

// Text with the bytes up to and including the space removed at both ends.
std::string_view TrimText(std::string_view text) noexcept;
// ASCII letters compared without case; other bytes must match exactly.
bool SameTextAscii(std::string_view a, std::string_view b) noexcept;
