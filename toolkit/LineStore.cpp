// Appending keeps amortised constant cost: both buffers grow geometrically.
#include "toolkit/LineStore.h"

#include <stdexcept>

void TLineStore::Add(std::wstring_view line)
{
    FStarts.push_back(FText.size());
    FText.append(line);
}

void TLineStore::Clear() noexcept
{
    // Give the memory back too: a cleared log of a night's run should not keep its size.
    std::wstring().swap(FText);
    std::vector<size_t>().swap(FStarts);
}

std::wstring_view TLineStore::Line(size_t index) const
{
    if (index >= FStarts.size())
        throw std::out_of_range("TLineStore::Line");
    const size_t begin = FStarts[index];
    const size_t end = index + 1 < FStarts.size() ? FStarts[index + 1] : FText.size();
    return std::wstring_view(FText).substr(begin, end - begin);
}

std::wstring TLineStore::Joined(std::wstring_view terminator) const
{
    std::wstring out;
    out.reserve(FText.size() + FStarts.size() * terminator.size());
    for (size_t i = 0; i < FStarts.size(); ++i) {
        out.append(Line(i));
        out.append(terminator);
    }
    return out;
}
