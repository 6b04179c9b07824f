#include "vantelo/core/DeskChannel.h"

#include "storage/Dialect.h"

namespace vantelo {

DeskChannel::DeskChannel(std::string desk, Handlers handlers)
    : desk_(std::move(desk)),
      handlers_(std::move(handlers)),
      announcer_(desk_, [this](const std::string& payload) {
          if (listener_)
              listener_->Send(kRingChannel, payload);
      }) {}

std::unique_ptr<DeskChannel> DeskChannel::Open(const std::filesystem::path& database,
                                               std::string desk, Handlers handlers) {
    if (!storage::IsServerUri(database.native()))
        return nullptr;
    std::unique_ptr<DeskChannel> channel(new DeskChannel(std::move(desk), std::move(handlers)));
    DeskChannel* self = channel.get();
    storage::ChangeListener::Handlers heard;
    heard.notified = [self](const storage::Notification& n) {
        if (n.channel == kTableChannel) {
            if (self->handlers_.tableChanged)
                self->handlers_.tableChanged(n.payload);
            return;
        }
        const auto ring = RingAnnouncement::Parse(n.payload);
        if (n.channel == kRingChannel && ring && ring->desk != self->desk_ && self->handlers_.ring)
            self->handlers_.ring(*ring);
    };
    heard.resumed = [self] {
        if (self->handlers_.resumed)
            self->handlers_.resumed();
    };
    channel->listener_ =
        storage::ChangeListener::Start(database, {kTableChannel, kRingChannel}, std::move(heard));
    if (!channel->listener_)
        return nullptr;
    return channel;
}

}  // namespace vantelo
