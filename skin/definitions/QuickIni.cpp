// Parsing of the skin definition text and its section and key lookups.
#include "skin/definitions/QuickIni.h"

#include "toolkit/SysUtils.h"

#include <algorithm>

namespace {

char LowerChar(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::string_view TrimText(std::string_view text) noexcept
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

bool SameTextAscii(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i]))
            return false;
    return true;
}

void TQuickIni::LoadFromStream(TMemoryStream& stream)
{
    const auto bytes = stream.Bytes();
    const size_t from = stream.Position() < bytes.size() ? stream.Position() : bytes.size();
    stream.SetPosition(bytes.size());
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()) + from, bytes.size() - from));
}

void TQuickIni::LoadFromText(std::string_view text)
{
    FLines.clear();
    FSections.clear();
    // A NUL ends the text, so a definition padded with zeros reads like one that is not.
    text = text.substr(0, text.find('\0'));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = TrimText(text.substr(start, end - start));
        if (!line.empty() && line.front() != ';') {
            if (line.front() == '[' && line.size() > 1 && line.back() == ']')
                FSections.push_back({std::string(line), static_cast<int>(FLines.size())});
            FLines.emplace_back(line);
        }
        // CR LF is one break; any other pair of breaks only encloses an empty line, which is dropped.
        start = end + 1;
    }
}

int TQuickIni::FindSection(std::string_view name) const
{
    for (const TSectionLine& s : FSections) {
        const std::string_view header = s.Header;
        if (header.size() == name.size() + 2 && SameTextAscii(header.substr(1, name.size()), name))
            return s.Line;
    }
    return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const
{
    if (strings == nullptr)
        throw EAssertionFailed(kStringsUnassigned);
    strings->clear();
    strings->reserve(FSections.size());
    for (const TSectionLine& s : FSections)
        strings->emplace_back(TrimText(std::string_view(s.Header).substr(1, s.Header.size() - 2)));
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const int header = FindSection(section);
    if (header < 0)
        return std::string(def);
    for (size_t i = static_cast<size_t>(header) + 1; i < FLines.size(); ++i) {
        const std::string_view line = FLines[i];
        if (line.front() == '[' && line.size() > 1 && line.back() == ']')
            break;
        const size_t equals = line.find('=');
        const std::string_view keyPart = equals == std::string_view::npos ? std::string_view() : TrimText(line.substr(0, equals));
        if (!SameTextAscii(keyPart, key))
            continue;
        // The first line of a key decides, even when it leaves the value empty.
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : TrimText(line.substr(equals + 1));
        return std::string(value.empty() ? def : value);
    }
    return std::string(def);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t def) const
{
    const std::string text = ReadString(section, key, "");
    if (text.empty())
        return def;
    // The toolkit's conversion reads "$" and "0x" hexadecimal up to 32 bits (0xFF00000F names
    // a system colour) and signed decimal in range; bytes widen one to one.
    std::wstring wide(text.size(), L' ');
    std::transform(text.begin(), text.end(), wide.begin(), [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    try {
        return StrToInt(wide);
    } catch (const EConvertError&) {
        return def;
    }
}
