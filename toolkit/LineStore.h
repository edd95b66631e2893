// Lines of text kept back to back in one buffer: a log of a million lines costs its
// characters and one offset each, not a heap block per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLineStore {
public:
    void Add(std::wstring_view line);
    void Clear() noexcept;

    size_t Count() const noexcept { return FStarts.size(); }
    bool Empty() const noexcept { return FStarts.empty(); }
    // Valid until the next Add or Clear.
    std::wstring_view Line(size_t index) const;
    // Every line followed by the terminator, in order; empty for an empty store.
    std::wstring Joined(std::wstring_view terminator) const;
    size_t CharacterCount() const noexcept { return FText.size(); }

private:
    std::wstring FText;
    std::vector<size_t> FStarts;
};
