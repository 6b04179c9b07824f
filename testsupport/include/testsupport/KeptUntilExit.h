#pragma once
// For exit probes: an object a program leaves allocated on purpose at exit
// (it must outlive a library's own teardown) is marked for LeakSanitizer, so
// a sanitizer build reports every other leak but not this one.

#if defined(__SANITIZE_ADDRESS__)
#define VT_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VT_LEAK_CHECKER 1
#endif
#endif

#ifdef VT_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

namespace vt::test {

template <typename T>
T* KeptUntilExit(T* object) {
#ifdef VT_LEAK_CHECKER
    __lsan_ignore_object(object);  // what it points to is reachable from it
#endif
    return object;
}

}  // namespace vt::test
