#pragma once
// A line event sink that records, in order, what the engine posts, logs and
// asks for, and answers its questions from settable values.

#include <string>
#include <vector>

#include "LineEventSink.h"

namespace lindev::test {

struct Event {
    enum Kind { kPost, kLog, kAction } kind;
    vt::UINT message = 0;
    vt::LPARAM lParam = 0;
    std::string text;  // log text or action name
};

class RecordingSink : public LineEventSink {
public:
    void Post(vt::UINT message, vt::LPARAM lParam) override {
        events.push_back({Event::kPost, message, lParam, {}});
    }
    void Log(const std::string& text) override { events.push_back({Event::kLog, 0, 0, text}); }
    int ReadCallerId() override {
        Action("ReadCallerId");
        return callerIdResult;
    }
    std::string CallerIdOutput() override { return callerIdOutput; }
    void ClearCallerId() override { Action("ClearCallerId"); }
    void StopPlayback() override { Action("StopPlayback"); }
    void StopRecording() override { Action("StopRecording"); }
    int HeadsetLocation() override { return headsetLocation; }
    void SetTelMode() override { Action("SetTelMode"); }
    bool AutoDialActive() override { return autoDial; }
    void ClearAutoDial() override {
        Action("ClearAutoDial");
        autoDial = false;
    }
    bool StopStuckWorker() override {
        Action("StopStuckWorker");
        return workerRunning;
    }

    std::vector<Event> Posts(vt::UINT message) const {
        std::vector<Event> found;
        for (const Event& e : events)
            if (e.kind == Event::kPost && e.message == message) found.push_back(e);
        return found;
    }
    std::vector<std::string> Logs() const {
        std::vector<std::string> found;
        for (const Event& e : events)
            if (e.kind == Event::kLog) found.push_back(e.text);
        return found;
    }
    int Actions(const std::string& name) const {
        int n = 0;
        for (const Event& e : events)
            if (e.kind == Event::kAction && e.text == name) ++n;
        return n;
    }
    std::size_t PostCount() const {
        std::size_t n = 0;
        for (const Event& e : events) n += e.kind == Event::kPost;
        return n;
    }

    int callerIdResult = 1;
    std::string callerIdOutput;
    int headsetLocation = 1;
    bool autoDial = false;
    bool workerRunning = false;
    std::vector<Event> events;

private:
    void Action(const std::string& name) { events.push_back({Event::kAction, 0, 0, name}); }
};

}  // namespace lindev::test
