// Byte buffer with a position: reads deliver what remains, writes grow the buffer.
#include "skin/archive/MemoryStream.h"

#include <cstring>

size_t TMemoryStream::Read(void* buffer, size_t count) noexcept
{
    if (FPosition >= FBytes.size())
        return 0;
    const size_t available = FBytes.size() - FPosition;
    const size_t delivered = count < available ? count : available;
    if (delivered != 0)
        std::memcpy(buffer, FBytes.data() + FPosition, delivered);
    FPosition += delivered;
    return delivered;
}

void TMemoryStream::Write(const void* buffer, size_t count)
{
    if (count == 0)
        return;
    if (FPosition + count > FBytes.size())
        FBytes.resize(FPosition + count);
    std::memcpy(FBytes.data() + FPosition, buffer, count);
    FPosition += count;
}

void TMemoryStream::Clear() noexcept
{
    FBytes.clear();
    FBytes.shrink_to_fit();
    FPosition = 0;
}
