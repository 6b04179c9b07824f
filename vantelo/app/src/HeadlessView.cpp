#include "vantelo/app/HeadlessView.h"

#include "i18n/Translations.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo {

HeadlessView::HeadlessView(std::FILE* out) : out_(out) {
    shown_["messages"] = "messages: 0";
}

std::string HeadlessView::OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out.push_back(c);
    }
    return out;
}

void HeadlessView::Print(const std::string& key, const std::string& line) {
    std::lock_guard lock(mutex_);
    if (!key.empty()) {
        auto it = shown_.find(key);
        if (it != shown_.end() && it->second == line)
            return;
        shown_[key] = line;
    }
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void HeadlessView::SetStatusText(const std::string& text) {
    Print("status", "status: " + OneLine(vt::i18n::TrLines(text::kContext, text)));
}

void HeadlessView::SetNumberText(const std::string& text) {
    Print("number", "number: " + OneLine(text));
}

void HeadlessView::SetPicture(int control, int bitmap) {
    Print("picture" + std::to_string(control),
          "picture " + std::to_string(control) + ": " + std::to_string(bitmap));
}

void HeadlessView::SetButtonLook(int control, const std::string& state) {
    Print("button" + std::to_string(control), "button " + std::to_string(control) + ": " + state);
}

void HeadlessView::ShowRingPopup(const std::string& text) {
    popupShown_ = true;
    Print("popup", "popup: " + OneLine(text));
}

void HeadlessView::CloseRingPopup() {
    if (!popupShown_)
        return;
    popupShown_ = false;
    Print("popup", "popup: closed");
}

void HeadlessView::MessageBox(const std::string& text) {
    Print("", "messagebox: " + OneLine(vt::i18n::TrLines(text::kContext, text)));
}

bool HeadlessView::Confirm(const std::string& text) {
    MessageBox(text);
    return true;
}

void HeadlessView::NewMessagesChanged(int count) {
    Print("messages", "messages: " + std::to_string(count));
}

void HeadlessView::MessageArrived(const NewMessage& message) {
    if (messageObserver_)
        messageObserver_(message);
}

void HeadlessView::Notice(const std::string& line) {
    Print("", OneLine(line));
}

void HeadlessView::SetMemoText(const std::string& text) {
    memo_ = text;
    Print("memo", "memo: " + OneLine(text));
}

}  // namespace vantelo
