#include "SecretLookup.h"

#include <libsecret/secret.h>

#include <cstdlib>

#include "notify/MailPassword.h"

namespace notify {

namespace {

const SecretSchema* MailSchema() {
    // Attributes only, not the schema name, so an item stored with
    // secret-tool (server and user) is found too.
    static const SecretSchema schema = {kSecretSchema,
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
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
    return &schema;
}

// One lookup, step by step on a private main context: the session bus,
// then the item.
struct Lookup {
    std::string server;
    std::string user;
    GCancellable* cancel = nullptr;
    std::optional<std::string> password;
    bool done = false;
};

void Found(GObject*, GAsyncResult* result, gpointer data) {
    auto* lookup = static_cast<Lookup*>(data);
    gchar* password = secret_password_lookup_finish(result, nullptr);
    if (password) {
        lookup->password = std::string(password);
        secret_password_free(password);
    }
    lookup->done = true;
}

void BusReady(GObject*, GAsyncResult* result, gpointer data) {
    auto* lookup = static_cast<Lookup*>(data);
    GDBusConnection* bus = g_bus_get_finish(result, nullptr);
    if (!bus) {
        lookup->done = true;
        return;
    }
    // The process's shared session bus connection: a bus that goes away
    // (a desktop session ending under the headless phone) must not end the
    // program, which GLib would do by default.
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    g_object_unref(bus);
    secret_password_lookup(MailSchema(), lookup->cancel, Found, lookup, "server",
                           lookup->server.c_str(), "user", lookup->user.c_str(), nullptr);
}

gboolean TimedOut(gpointer data) {
    g_cancellable_cancel(static_cast<Lookup*>(data)->cancel);
    return G_SOURCE_REMOVE;
}

}  // namespace

std::optional<std::string> LookupSecretPassword(const std::string& server, const std::string& user,
                                                std::chrono::milliseconds wait) {
    // Without a session bus there is no Secret Service; asking anyway would
    // start a bus of its own.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus)
        return std::nullopt;

    // A main context of this lookup alone: it runs to its end or to the time
    // limit here, whatever loop the program runs elsewhere.
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    Lookup lookup;
    lookup.server = server;
    lookup.user = user;
    lookup.cancel = g_cancellable_new();
    GSource* timer = g_timeout_source_new(static_cast<guint>(wait.count()));
    g_source_set_callback(timer, TimedOut, &lookup, nullptr);
    g_source_attach(timer, context);
    g_bus_get(G_BUS_TYPE_SESSION, lookup.cancel, BusReady, &lookup);
    // Every step completes, cancelled or not, so this ends.
    while (!lookup.done) g_main_context_iteration(context, TRUE);
    g_source_destroy(timer);
    g_source_unref(timer);
    g_object_unref(lookup.cancel);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    return lookup.password;
}

}  // namespace notify
