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

struct Lookup {
    bool done = false;
    gchar* password = nullptr;
    GCancellable* cancel = nullptr;
};

void Finished(GObject*, GAsyncResult* result, gpointer data) {
    auto* lookup = static_cast<Lookup*>(data);
    GError* error = nullptr;
    lookup->password = secret_password_lookup_finish(result, &error);
    if (error)
        g_error_free(error);
    lookup->done = true;
}

gboolean TimedOut(gpointer data) {
    g_cancellable_cancel(static_cast<Lookup*>(data)->cancel);
    return G_SOURCE_REMOVE;
}

}  // namespace

std::optional<std::string> LookupSecretPassword(const std::string& server, const std::string& user,
                                                std::chrono::milliseconds wait) {
    // Without a session bus there is no Secret Service, and asking would
    // start a bus of its own.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus)
        return std::nullopt;

    // A private main context on this thread: the lookup runs to its end or
    // to the time limit here, whatever loop the program runs elsewhere.
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    Lookup lookup;
    lookup.cancel = g_cancellable_new();
    GSource* timer = g_timeout_source_new(static_cast<guint>(wait.count()));
    g_source_set_callback(timer, TimedOut, &lookup, nullptr);
    g_source_attach(timer, context);
    secret_password_lookup(MailSchema(), lookup.cancel, Finished, &lookup, "server", server.c_str(),
                           "user", user.c_str(), nullptr);
    // A cancelled lookup still completes (with an error), so this ends.
    while (!lookup.done) g_main_context_iteration(context, TRUE);
    g_source_destroy(timer);
    g_source_unref(timer);
    g_object_unref(lookup.cancel);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);

    std::optional<std::string> result;
    if (lookup.password) {
        result = std::string(lookup.password);
        secret_password_free(lookup.password);
    }
    return result;
}

}  // namespace notify
