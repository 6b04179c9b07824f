#include "linesim/InProcessAdapter.h"

#include "InProcessDriver.h"
#include "platform/DeviceEnumeration.h"
#include "usbline/DriverRegistry.h"

namespace linesim {

InProcessAdapter::InProcessAdapter(int id, std::shared_ptr<TimeSource> time)
    : path_("inproc:sim" + std::to_string(id)),
      model_(std::make_shared<Model>(std::move(time))),
      driver_(std::make_shared<InProcessDriver>(model_, path_)),
      interpreter_(*model_, [this](bool plugged) { return SetPlugged(plugged); }) {
    usbline::RegisterDriver(path_, driver_);
    vt::RegisterDeviceInterface(path_);
}

InProcessAdapter::~InProcessAdapter() {
    vt::UnregisterDeviceInterface(path_);
    usbline::UnregisterDriver(path_);
    model_->Unplug();
    driver_->WakeAll();
}

std::string InProcessAdapter::Command(const std::string& line) {
    return interpreter_.Execute(line);
}

std::string InProcessAdapter::SetPlugged(bool plugged) {
    if (plugged) {
        if (model_->IsPlugged())
            return "already plugged in";
        model_->Plug();
        vt::RegisterDeviceInterface(path_);
    } else {
        if (!model_->IsPlugged())
            return "already unplugged";
        vt::UnregisterDeviceInterface(path_);
        model_->Unplug();
        driver_->WakeAll();
    }
    return {};
}

}  // namespace linesim
