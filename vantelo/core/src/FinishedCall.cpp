#include "vantelo/core/FinishedCall.h"

#include "vantelo/core/CallRecord.h"

namespace vantelo {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

FinishedCall DecideFinishedCall(const CallFacts& facts, const OutsideLine& line) {
    FinishedCall out;
    out.mode = facts.mode;
    out.innerLine = facts.innerLine;
    if (facts.mode != kCallOutgoing) {
        // Incoming of every kind: the caller's number and what was keyed.
        out.number = facts.callerNumber;
        out.setDtmf = true;
        out.dtmf = facts.lineDigits;
        return out;
    }
    if (!facts.dialledNumber.empty()) {
        out.number = facts.dialledNumber;
        // A number keyed by hand on an exchange line: the outside-line code
        // is not part of the number; without it, it was an inner line.
        if (line.isExt && !facts.appDialled) {
            const bool pickUp = !line.strReceive.empty() && StartsWith(out.number, line.strReceive);
            if (pickUp)
                out.mode = kCallReceived;
            if (StartsWith(out.number, line.strExt)) {
                out.number.erase(0, line.strExt.size());
            } else {
                out.innerLine = true;
                if (!pickUp) {
                    out.setInner = true;
                    out.inner = true;
                }
            }
        }
        if (!facts.lineDigits.empty()) {
            out.setDtmf = true;
            out.dtmf = facts.lineDigits;
        }
        return out;
    }
    if (!facts.lineDigits.empty()) {
        // Dialled from the handset: the digits heard on the line are the number.
        out.number = facts.lineDigits;
        if (line.isExt && StartsWith(out.number, line.strExt)) {
            out.number.erase(0, line.strExt.size());
        } else {
            if (!facts.appDialled)
                out.innerLine = true;
            out.setInner = true;
            out.inner = out.innerLine;
        }
        return out;
    }
    out.logged = false;
    return out;
}

}  // namespace vantelo
