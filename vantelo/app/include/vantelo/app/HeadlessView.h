#pragma once
// The view of the headless program: every change is one line on the output,
// spelled "status: TEXT", "number: TEXT", "memo: TEXT", "picture ID: BITMAP",
// "button ID: LOOK", "popup: TEXT" / "popup: closed", "messagebox: TEXT",
// "messages: N" (new messages), "mail: TEXT" (the mail of messages), "callerid: TEXT" (a
// caller-ID server setting that cannot work), "notice: DESK: NAME NUMBER" (another desk's
// line rings) and "notice: DESK: ..." (how its ringing ended), with line breaks written as "\n". A value
// told again unchanged is no change and prints nothing; no new message at
// start is no news either, so "messages: 0" comes only after a count above 0.

#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "vantelo/core/PhoneView.h"

namespace vantelo {

class HeadlessView : public PhoneView {
public:
    explicit HeadlessView(std::FILE* out = stdout);

    void SetStatusText(const std::string& text) override;
    void SetNumberText(const std::string& text) override;
    void SetPicture(int control, int bitmap) override;
    void SetButtonLook(int control, const std::string& state) override;
    void ShowRingPopup(const std::string& text) override;
    void CloseRingPopup() override;
    bool RingPopupShown() const override { return popupShown_; }
    void MessageBox(const std::string& text) override;
    // Nobody can answer a question here: the order given stands (OK).
    bool Confirm(const std::string& text) override;
    std::string MemoText() const override { return memo_; }
    void NewMessagesChanged(int count) override;
    void MessageArrived(const NewMessage& message) override;

    void SetMessageObserver(std::function<void(const NewMessage&)> observer) {
        messageObserver_ = std::move(observer);
    }
    // A line of the program's own, printed as it is ("mail: ...").
    void Notice(const std::string& line);

    void SetMemoText(const std::string& text);

    // "\n" for each line break.
    static std::string OneLine(const std::string& text);

private:
    void Print(const std::string& key, const std::string& line);

    std::FILE* out_;
    std::mutex mutex_;
    std::map<std::string, std::string> shown_;
    bool popupShown_ = false;
    std::string memo_;
    std::function<void(const NewMessage&)> messageObserver_;
};

}  // namespace vantelo
