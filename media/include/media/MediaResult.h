#pragma once
// Results and event codes of the media graph. The numbers are the media
// service's own, so callers written against it read the same values.

#include <cstdint>

namespace vt::media {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
// The state is still changing when GetState's time-out ran out.
inline constexpr HRESULT VFW_S_STATE_INTERMEDIATE = 0x00040237;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
// Nothing is rendered yet, or the operation needs a rendered file.
inline constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);
inline constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
inline constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
inline constexpr HRESULT VFW_E_TIMEOUT = static_cast<HRESULT>(0x8004022Eu);

inline constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

// Event codes delivered through GetEvent.
inline constexpr long EC_COMPLETE = 1;    // the stream played to its end
inline constexpr long EC_ERRORABORT = 3;  // playback stopped on an error (param 1: cause)

// Volume in hundredths of a decibel: 0 full, -10000 silence.
inline constexpr long kVolumeFull = 0;
inline constexpr long kVolumeSilence = -10000;

// One media time unit is 100 ns.
inline constexpr std::int64_t kUnitsPerMs = 10000;
inline constexpr std::int64_t kUnitsPerSecond = 10000000;

}  // namespace vt::media
