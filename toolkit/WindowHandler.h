// Base of the objects that handle messages of a window they did not make (skin frames, control
// wrappers, popup menu wrappers), and the owner type that frees them safely.
#pragma once

#include <memory>
#include <utility>

// Such an object may be let go of while one of its own messages still runs further up the
// stack (a frame freed from its own WM_NCDESTROY, a wrapper dropped by a click it handles).
// Freeing it then would pull the object from under that message, so its owner frees it
// through THandlerPtr, which waits for the outermost of its messages to return.
class TWindowHandler {
public:
    TWindowHandler() = default;
    TWindowHandler(const TWindowHandler&) = delete;
    TWindowHandler& operator=(const TWindowHandler&) = delete;
    virtual ~TWindowHandler() = default;

    // True while one of its own messages runs (counted by its message links).
    bool InMessage() const noexcept { return FNesting > 0; }

private:
    friend class TMessageLink;
    friend struct TFreeHandler;
    int FNesting = 0;
    bool FFreePending = false;
};

// Deleter of handler owners: frees now, or lets the outermost running message free it.
struct TFreeHandler {
    void operator()(TWindowHandler* handler) const noexcept
    {
        if (!handler)
            return;
        if (handler->FNesting > 0)
            handler->FFreePending = true;
        else
            delete handler;
    }
};

template <class T>
using THandlerPtr = std::unique_ptr<T, TFreeHandler>;

template <class T, class... Args>
THandlerPtr<T> MakeHandler(Args&&... args)
{
    return THandlerPtr<T>(new T(std::forward<Args>(args)...));
}
