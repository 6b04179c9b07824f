#include "tyctl/MessageNames.h"

#include "lindev/lindev.h"

namespace tyctl {

std::string MessageName(vt::UINT message) {
    struct Entry {
        vt::UINT message;
        const char* name;
    };
    static constexpr Entry kNames[] = {
        {WM_TY_RINGDETECTED, "WM_TY_RINGDETECTED"}, {WM_TY_RINGEND, "WM_TY_RINGEND"},
        {WM_TY_CIDREDAY, "WM_TY_CIDREDAY"},         {WM_TY_DEVICEREMOVED, "WM_TY_DEVICEREMOVED"},
        {WM_TY_CODECPROGRESS, "WM_TY_CODECPROGRESS"}, {WM_TY_CODECDONE, "WM_TY_CODECDONE"},
        {WM_TY_LINENOTIFY, "WM_TY_LINENOTIFY"},     {WM_TY_THREADNOTIFY, "WM_TY_THREADNOTIFY"},
        {WM_TY_RECEIVE, "WM_TY_RECEIVE"},           {WM_TY_BUSY1, "WM_TY_BUSY1"},
        {WM_TY_RECORDDATA, "WM_TY_RECORDDATA"},     {WM_TY_REVERSETONE, "WM_TY_REVERSETONE"},
        {WM_TY_GETARS, "WM_TY_GETARS"},             {WM_TY_DIALTONE, "WM_TY_DIALTONE"},
        {WM_TY_RINGBACKTONE, "WM_TY_RINGBACKTONE"}, {WM_TY_GETDTMF, "WM_TY_GETDTMF"},
        {WM_TY_PLAYPROGRESS, "WM_TY_PLAYPROGRESS"}, {WM_TY_TONELENGTH, "WM_TY_TONELENGTH"},
        {WM_TY_BUSY2, "WM_TY_BUSY2"},               {WM_TY_AUTODIALDONE, "WM_TY_AUTODIALDONE"},
        {WM_EX_EXT_DTMF, "WM_EX_EXT_DTMF"},
    };
    for (const Entry& e : kNames)
        if (e.message == message) return e.name;
    return "WM_USER+" + std::to_string(static_cast<long>(message) - vt::WM_USER);
}

}  // namespace tyctl
