// The mail password from a real Secret Service (gnome-keyring on a private
// session bus), and the password file where none answers for the account.

#include <gtest/gtest.h>
#include <libsecret/secret.h>
#include <sys/stat.h>

#include <fstream>

#include "notify/MailPassword.h"
#include "testsupport/SessionBus.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

// Stores a password as `secret-tool store` does: the generic schema with the
// attributes server and user, in the session's keyring.
bool StoreLikeSecretTool(const std::string& server, const std::string& user,
                         const std::string& password) {
    static const SecretSchema generic = {"org.freedesktop.Secret.Generic",
                                         SECRET_SCHEMA_NONE,
                                         {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                          {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                          {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                         0,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr};
    // The test process shares one session bus connection, as the program
    // does; the bus ends with the test, and that must not end the process.
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        return false;
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    g_object_unref(bus);
    GError* error = nullptr;
    const bool stored = secret_password_store_sync(
        &generic, SECRET_COLLECTION_SESSION, "Vantelo mail", password.c_str(), nullptr, &error,
        "server", server.c_str(), "user", user.c_str(), nullptr);
    if (error) {
        ADD_FAILURE() << error->message;
        g_error_free(error);
    }
    return stored;
}

TEST(SecretServiceTest, TheSecretServiceAnswersFirstAndThePasswordFileOtherwise) {
    vt::test::TestEnvironment env;
    vt::test::SessionBus bus(env.Root() / "bus");
    if (!bus.Available())
        GTEST_SKIP() << bus.SkipReason();
    env.Set("DBUS_SESSION_BUS_ADDRESS", bus.Address());

    const fs::path file = env.Root() / "password";
    std::ofstream(file) << "from-file\n";
    ::chmod(file.c_str(), 0600);
    notify::MailSettings settings;
    settings.server = "smtp://mail.example.org:587";
    settings.from = "desk@example.org";
    settings.to = {"me@example.org"};
    settings.user = "desk";
    settings.passwordFile = file;

    // A bus without a Secret Service: the file.
    auto r = notify::FindMailPassword(settings, std::chrono::seconds(5));
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.password, "from-file");
    EXPECT_EQ(r.source, file.string());

    if (!bus.StartSecretService())
        GTEST_SKIP() << "no Secret Service: " << bus.SkipReason();
    ASSERT_TRUE(StoreLikeSecretTool(settings.server, "desk", "from-keyring"));
    struct Case {
        std::string server, user;
        std::string password, source;
    };
    const Case cases[] = {
        {settings.server, "desk", "from-keyring", "secret service"},
        // Another account's item is not this one's password.
        {settings.server, "other", "from-file", file.string()},
        {"smtps://mail.example.org:465", "desk", "from-file", file.string()},
    };
    for (const auto& c : cases) {
        notify::MailSettings s = settings;
        s.server = c.server;
        s.user = c.user;
        r = notify::FindMailPassword(s, std::chrono::seconds(5));
        EXPECT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.password, c.password) << c.user << " " << c.server;
        EXPECT_EQ(r.source, c.source);
    }
    // With the Secret Service answering, a careless file is never read.
    ::chmod(file.c_str(), 0644);
    r = notify::FindMailPassword(settings, std::chrono::seconds(5));
    EXPECT_EQ(r.password, "from-keyring");
}

}  // namespace
