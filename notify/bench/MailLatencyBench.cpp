// Times a new message's way to the mail server: from Enqueue (the moment the
// recording is finished) to the server's acceptance of the mail, with a
// 30 s message attached as MP3, over a real aiosmtpd on loopback.
//   notify_mail_bench [mails=20] [seconds=30]
// Reported for a mu-law recording and a compressed (.vrc) one: the median,
// the fastest and the slowest, and the part spent preparing the attachment.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "VrcFixture.h"
#include "notify/MailService.h"
#include "platform/IniStore.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int mails = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    vt::test::TestEnvironment env;
    env.Set("DBUS_SESSION_BUS_ADDRESS", "");
    const auto samples = vt::test::SpeechLikeSamples(static_cast<unsigned>(seconds) * 1000);
    const fs::path mulaw = env.Root() / "message.wav", vrc = env.Root() / "message.vrc";
    if (!vt::test::WriteMuLawWav(mulaw, samples) || !vanplay::test::WriteVrc(vrc, samples)) {
        std::fprintf(stderr, "notify_mail_bench: the recordings cannot be made\n");
        return 1;
    }
    vt::test::SmtpTestServer server(env.Root() / "inbox");
    vt::IniStore store(vt::SettingsFilePath());
    store.SetString("Mail", "Server", server.Url());
    store.SetString("Mail", "From", "desk@example.org");
    store.SetString("Mail", "To", "me@example.org");
    store.SetString("Mail", "Attach", "mp3");
    store.Save();

    std::mutex mutex;
    std::condition_variable changed;
    int sent = 0;
    notify::MailService service([&](const notify::MailStatus& s) {
        std::lock_guard<std::mutex> lock(mutex);
        if (s.failure == notify::MailFailure::None)
            ++sent;
        else
            std::fprintf(stderr, "%s\n", s.line.c_str());
        changed.notify_all();
    });
    if (!service.Start())
        return 1;

    std::printf("%d mails, a %d s message attached as MP3, server on loopback\n", mails, seconds);
    for (const fs::path& recording : {mulaw, vrc}) {
        std::vector<double> total, prepare;
        for (int i = 0; i < mails; ++i) {
            const notify::MessageMail message{
                i, "0212345678", "홍길동", "2026-12-09 10:00:00", seconds, recording.string()};
            int before;
            {
                std::lock_guard<std::mutex> lock(mutex);
                before = sent;
            }
            const auto start = Clock::now();
            if (!service.Enqueue(message))
                return 1;
            const auto queued = Clock::now();
            std::unique_lock<std::mutex> lock(mutex);
            if (!changed.wait_for(lock, std::chrono::seconds(60), [&] { return sent > before; })) {
                std::fprintf(stderr, "notify_mail_bench: no mail accepted within 60 s\n");
                return 1;
            }
            total.push_back(Ms(Clock::now() - start));
            prepare.push_back(Ms(queued - start));
        }
        std::printf(
            "%-12s enqueue to accepted: median %.1f ms (min %.1f, max %.1f); "
            "attachment prepared in %.1f ms (median)\n",
            recording.extension() == ".vrc" ? "compressed" : "mu-law WAV", Median(total),
            *std::min_element(total.begin(), total.end()),
            *std::max_element(total.begin(), total.end()), Median(prepare));
    }
    service.Stop();
    return 0;
}
