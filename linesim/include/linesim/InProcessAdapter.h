#pragma once
// A simulated adapter inside the test process: one model and a
// usbline::Driver for it, no sockets, no daemon.
//
// While it lives, its device path "inproc:sim<id>" is listed by
// vt::EnumerateDeviceInterfaces (before the daemons' adapters) and every
// CTyCtiInstance given that path talks to this model through usbline's
// driver registry. Command() takes the control language of the daemon's
// control socket (docs/linesim-protocol.md) and answers the same; "unplug"
// removes the path from the enumeration and fails every open handle, "plug"
// brings the adapter back. GetModel() gives typed access for tests.
//
// The model uses real time unless a time source is given; with a
// ManualTimeSource a test steps the line's cadences without sleeping (a
// blocking transfer such as a paced Bulk_OUT then waits for the test to
// advance time). Thread-safe. Ids must be unique among the live in-process
// adapters of a process.

#include <memory>
#include <string>

#include "linesim/CommandInterpreter.h"
#include "linesim/Model.h"
#include "linesim/TimeSource.h"

namespace linesim {

class InProcessDriver;

class InProcessAdapter {
public:
    explicit InProcessAdapter(int id = 0, std::shared_ptr<TimeSource> time = nullptr);
    // Unregisters the device path and the driver. Handles still open on it
    // fail from then on.
    ~InProcessAdapter();
    InProcessAdapter(const InProcessAdapter&) = delete;
    InProcessAdapter& operator=(const InProcessAdapter&) = delete;

    std::string DevicePath() const { return path_; }
    // One control command; the answer as the control socket gives it.
    std::string Command(const std::string& line);
    Model& GetModel() { return *model_; }

private:
    std::string SetPlugged(bool plugged);

    const std::string path_;
    std::shared_ptr<Model> model_;
    std::shared_ptr<InProcessDriver> driver_;
    CommandInterpreter interpreter_;
};

}  // namespace linesim
