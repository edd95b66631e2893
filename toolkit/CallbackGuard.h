// Keeps exceptions out of Win32 callbacks: what escapes a handler goes to the application.
#pragma once

#include <exception>

// Shows the standard error box for the exception in flight (or whatever the application's
// OnException handler does with it). Never throws.
void HandleCallbackException(std::exception_ptr error) noexcept;

template <class F>
void GuardCallback(F&& f) noexcept
{
    try {
        f();
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}
