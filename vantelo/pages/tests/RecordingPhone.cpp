#include "RecordingPhone.h"

namespace vantelo::pages::test {

void RecordingPhone::OnButton(int controlId) {
    calls.push_back("button " + std::to_string(controlId));
}

void RecordingPhone::OnKey(int key, Qt::KeyboardModifiers, const QString& text) {
    // Printable keys by their text, the others (Enter, Backspace) by code.
    const bool printable = !text.isEmpty() && text[0] >= QChar(' ');
    calls.push_back("key " + (printable ? text.toStdString() : std::to_string(key)));
}

void RecordingPhone::OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) {
    calls.push_back("message " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                    std::to_string(lParam));
}

void RecordingPhone::OnExitCommand() {
    calls.push_back("exit");
}

bool RecordingPhone::IsLineBusy() {
    calls.push_back("busy?");
    return lineBusy;
}

void RecordingPhone::SetDialNumber(const std::string& number) {
    calls.push_back("dial " + number);
}

void RecordingPhone::HookButton() {
    calls.push_back("hook");
}

void RecordingPhone::DialInner() {
    calls.push_back("inner");
}

bool RecordingPhone::SaveSettings() {
    ++saves;
    return vantelo::SaveSettings(settings);
}

void RecordingPhone::SetCallName(const std::string& name) {
    calls.push_back("name " + name);
}

}  // namespace vantelo::pages::test
