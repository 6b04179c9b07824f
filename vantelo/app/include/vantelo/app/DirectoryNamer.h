#pragma once
// Names callers no contact book knows from the directory that the settings'
// [Ldap] section names. The look-up runs on a thread of its own within its
// time budget; its answer comes back through `post` to the phone's thread,
// where it is kept for the day and handed to `named` (the phone's
// DirectoryAnswered). A directory that cannot be asked says so in one line
// through `say`, once until it answers again: the phone goes on without it.

#include <functional>
#include <memory>
#include <string>

#include "directory/LdapClient.h"
#include "directory/NameCache.h"
#include "platform/Clock.h"
#include "vantelo/core/CallerDirectory.h"

namespace directory {
class LdapLookup;
}

namespace vantelo {

class DirectoryNamer : public CallerDirectory {
public:
    using Post = std::function<void(std::function<void()>)>;
    using Named = std::function<void(const std::string& number, const std::string& name)>;
    using Say = std::function<void(const std::string& line)>;

    DirectoryNamer(Post post, Named named, Say say, const vt::Clock& clock);
    // Ends the look-up thread (within one look-up's budget).
    ~DirectoryNamer() override;
    DirectoryNamer(const DirectoryNamer&) = delete;
    DirectoryNamer& operator=(const DirectoryNamer&) = delete;

    // Reads [Ldap] from the settings file; false when the look-up is off or
    // its settings cannot be used (one line said).
    bool Start(const std::filesystem::path& settingsFile = {});
    bool Started() const { return lookup_ != nullptr; }

    // On the phone's thread; never waits.
    void Ask(const std::string& number) override;

private:
    void Answered(const std::string& number, const directory::LdapAnswer& answer);
    std::string Today() const;

    Post post_;
    Named named_;
    Say say_;
    const vt::Clock& clock_;
    directory::NameCache cache_;
    bool failing_ = false;
    std::unique_ptr<directory::LdapLookup> lookup_;
};

}  // namespace vantelo
