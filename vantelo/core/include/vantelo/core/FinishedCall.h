#pragma once
// The rule that decides what the call log keeps of a call that has just
// ended: whether it is a call at all, its kind and number, its digits and
// whether it was an inner-line call. Pure, so every road through it is a row
// of a table test.

#include <string>

namespace vantelo {

// What the phone knew when the call ended.
struct CallFacts {
    int mode = 0;               // the call's kind so far (CallMode)
    std::string dialledNumber;  // typed or dialled by the program
    std::string lineDigits;     // digits sent or heard on the line
    std::string callerNumber;   // from caller ID
    bool appDialled = false;    // the program dialled the number
    bool innerLine = false;     // the number was dialled as an inner line
};

// The outside-line settings the rule reads.
struct OutsideLine {
    bool isExt = false;      // IsExt
    std::string strExt;      // StrExt: the outside-line code
    std::string strReceive;  // StrReceive: the call pick-up code
};

struct FinishedCall {
    bool logged = true;    // false: lifted and put down without a number
    int mode = 0;          // the kind the row gets
    std::string number;    // CallNum
    bool setDtmf = false;  // the row takes `dtmf` (else it keeps what it has)
    std::string dtmf;
    bool setInner = false;   // the row takes `inner` (else it keeps what it has)
    bool inner = false;      // CallbInner
    bool innerLine = false;  // the redial of this number dials an inner line
};

FinishedCall DecideFinishedCall(const CallFacts& facts, const OutsideLine& line);

}  // namespace vantelo
