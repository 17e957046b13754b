#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLU_LSAN_AVAILABLE 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VORLU_LSAN_AVAILABLE 1
#endif

#ifdef VORLU_LSAN_AVAILABLE
#include <sanitizer/lsan_interface.h>
#endif

namespace vorlu::toolkit::testing {

// Qt's widget library is built without exception support. When an error raised by a handler
// that a mouse event started (a button's click handler) unwinds through Qt's mouse dispatch on
// its way to the general error report, the event copies on those frames are never freed: a few
// hundred bytes per reported error, accepted in the program. Under LeakSanitizer a test that
// makes such a handler fail holds this guard around the click; allocations made meanwhile are
// not reported. Key, timer and posted-event handlers need no guard.
class QtUnwindLeakGuard {
public:
#ifdef VORLU_LSAN_AVAILABLE
    QtUnwindLeakGuard() { __lsan_disable(); }
    ~QtUnwindLeakGuard() { __lsan_enable(); }
#else
    QtUnwindLeakGuard() {} // user-provided, so a guard is never an "unused variable"
    ~QtUnwindLeakGuard() {}
#endif
    QtUnwindLeakGuard(const QtUnwindLeakGuard&) = delete;
    QtUnwindLeakGuard& operator=(const QtUnwindLeakGuard&) = delete;
};

} // namespace vorlu::toolkit::testing
