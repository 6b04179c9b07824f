#include "media/MediaGraph.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <deque>
#include <functional>

namespace vt::media {

namespace {

// Long enough for a slow first start of the sound back end (plug-in
// loading), short enough that a broken file never hangs the window.
constexpr int kRenderTimeoutMs = 5000;

struct GraphEvent {
    long code;
    LPARAM param1;
    LPARAM param2;
};

}  // namespace

double LinearVolume(long hundredthsDb) {
    if (hundredthsDb <= kVolumeSilence)
        return 0.0;
    if (hundredthsDb >= 0)
        return 1.0;
    return std::pow(10.0, static_cast<double>(hundredthsDb) / 2000.0);
}

class MediaGraph::Impl {
public:
    ~Impl() { Drop(); }

    HRESULT Create() {
        Drop();
        if (!QCoreApplication::instance())
            return E_FAIL;
        auto player = std::make_unique<QMediaPlayer>();
        if (!player->isAvailable())
            return E_FAIL;
        auto output = std::make_unique<QAudioOutput>();
        player->setAudioOutput(output.get());
        player_ = std::move(player);
        output_ = std::move(output);
        volume_ = kVolumeFull;
        output_->setVolume(1.0f);
        QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, player_.get(),
                         [this](QMediaPlayer::MediaStatus s) { OnStatus(s); });
        QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, player_.get(),
                         [this](QMediaPlayer::Error e, const QString&) { OnError(e); });
        return S_OK;
    }

    void Drop() {
        window_ = nullptr;
        events_.clear();
        if (player_) {
            QObject::disconnect(player_.get(), nullptr, nullptr, nullptr);
            player_->stop();
        }
        if (waiting_ > 0) {
            // Released from inside one of our own waits (a handler run by
            // its event loop): the waiting call still looks at the objects.
            if (player_)
                player_.release()->deleteLater();
            if (output_)
                output_.release()->deleteLater();
        }
        player_.reset();
        output_.reset();
        rendered_ = false;
        endReached_ = false;
        state_ = PlayState::Stopped;
    }

    bool Created() const { return player_ != nullptr; }
    bool Rendered() const { return player_ && rendered_; }

    HRESULT Render(const std::string& utf8Path) {
        if (!player_)
            return E_NOINTERFACE;
        rendered_ = false;
        endReached_ = false;
        const QString path = QString::fromUtf8(utf8Path.c_str());
        if (utf8Path.empty() || !QFileInfo(path).isFile())
            return VFW_E_NOT_FOUND;
        player_->setSource(QUrl::fromLocalFile(path));
        WaitUntil(kRenderTimeoutMs, [this] {
            if (!player_)
                return true;
            auto s = player_->mediaStatus();
            return s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::InvalidMedia ||
                   player_->error() != QMediaPlayer::NoError;
        });
        if (!player_)
            return E_ABORT;  // released while it waited
        if (player_->mediaStatus() == QMediaPlayer::LoadedMedia &&
            player_->error() == QMediaPlayer::NoError) {
            rendered_ = true;
            state_ = PlayState::Stopped;
            return S_OK;
        }
        if (player_->mediaStatus() == QMediaPlayer::LoadingMedia)
            return VFW_E_TIMEOUT;
        return VFW_E_UNSUPPORTED_STREAM;
    }

    HRESULT SetNotify(MessageWindow* window, UINT message, LPARAM param) {
        if (!player_)
            return E_NOINTERFACE;
        window_ = window;
        message_ = message;
        param_ = param;
        if (window_ && !events_.empty())
            window_->Post(message_, 0, param_);
        return S_OK;
    }

    // A graph that exists and has a file rendered, as playing and seeking need.
    HRESULT RequireRendered() const {
        if (!player_)
            return E_NOINTERFACE;
        if (!rendered_)
            return VFW_E_WRONG_STATE;
        return S_OK;
    }

    HRESULT Run() {
        if (const HRESULT ready = RequireRendered(); ready != S_OK)
            return ready;
        endReached_ = false;
        player_->play();
        state_ = PlayState::Running;
        return S_OK;
    }

    HRESULT Pause() {
        if (const HRESULT ready = RequireRendered(); ready != S_OK)
            return ready;
        player_->pause();
        state_ = PlayState::Paused;
        return S_OK;
    }

    HRESULT Stop() {
        if (!player_)
            return E_NOINTERFACE;
        if (rendered_) {
            // The back end rewinds on stop; the graph keeps its place instead,
            // so a seek made while stopped is where the next Run starts.
            const qint64 at = player_->position();
            player_->stop();
            if (at > 0)
                player_->setPosition(at);
        }
        state_ = PlayState::Stopped;
        return S_OK;
    }

    HRESULT GetState(unsigned timeoutMs, PlayState* state) {
        if (!player_)
            return E_NOINTERFACE;
        if (!state)
            return E_POINTER;
        *state = state_;
        if (!rendered_)
            return S_OK;
        WaitUntil(static_cast<int>(timeoutMs), [this] { return !player_ || Settled(); });
        if (!player_)
            return E_ABORT;
        return Settled() ? S_OK : VFW_S_STATE_INTERMEDIATE;
    }

    HRESULT Duration(std::int64_t* duration) {
        if (!player_)
            return E_NOINTERFACE;
        if (!duration)
            return E_POINTER;
        if (!rendered_)
            return VFW_E_WRONG_STATE;
        *duration = player_->duration() * kUnitsPerMs;
        return S_OK;
    }

    HRESULT Position(std::int64_t* position) {
        if (!player_)
            return E_NOINTERFACE;
        if (!position)
            return E_POINTER;
        if (!rendered_)
            return VFW_E_WRONG_STATE;
        qint64 ms = endReached_ ? player_->duration() : player_->position();
        *position = ms * kUnitsPerMs;
        return S_OK;
    }

    HRESULT Seek(std::int64_t current) {
        if (const HRESULT ready = RequireRendered(); ready != S_OK)
            return ready;
        if (current < 0)
            return E_INVALIDARG;
        qint64 ms = current / kUnitsPerMs;
        const qint64 length = player_->duration();
        if (length > 0 && ms > length)
            ms = length;
        endReached_ = false;
        player_->setPosition(ms);
        return S_OK;
    }

    HRESULT TakeEvent(long* code, LPARAM* p1, LPARAM* p2, unsigned timeoutMs) {
        if (!player_)
            return E_NOINTERFACE;
        if (!code || !p1 || !p2)
            return E_POINTER;
        auto arrived = [this] { return !player_ || !events_.empty(); };
        if (events_.empty() && timeoutMs > 0)
            WaitUntil(static_cast<int>(timeoutMs), arrived);
        if (!player_ || events_.empty())
            return E_ABORT;
        GraphEvent e = events_.front();
        events_.pop_front();
        *code = e.code;
        *p1 = e.param1;
        *p2 = e.param2;
        return S_OK;
    }

    HRESULT PutVolume(long volume) {
        if (!output_)
            return E_NOINTERFACE;
        if (volume < kVolumeSilence || volume > kVolumeFull)
            return E_INVALIDARG;
        volume_ = volume;
        output_->setVolume(static_cast<float>(LinearVolume(volume)));
        return S_OK;
    }

    HRESULT GetVolume(long* volume) {
        if (!output_)
            return E_NOINTERFACE;
        if (!volume)
            return E_POINTER;
        *volume = volume_;
        return S_OK;
    }

private:
    // True when the back end has reached the state asked for last.
    bool Settled() const {
        const auto actual = player_->playbackState();
        switch (state_) {
            case PlayState::Running:
                // A stream that played to its end has stopped by itself but
                // the graph still counts as running until it is stopped.
                return actual == QMediaPlayer::PlayingState || endReached_ ||
                       player_->mediaStatus() == QMediaPlayer::EndOfMedia;
            case PlayState::Paused:
                return actual == QMediaPlayer::PausedState;
            case PlayState::Stopped:
                return actual == QMediaPlayer::StoppedState;
        }
        return false;
    }

    // Runs the event loop (user input excluded) until `done` or the time-out.
    void WaitUntil(int timeoutMs, const std::function<bool()>& done) {
        if (done() || timeoutMs <= 0)
            return;
        ++waiting_;
        QEventLoop loop;
        QTimer poll;
        QTimer limit;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        poll.start(2);
        limit.setSingleShot(true);
        limit.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        --waiting_;
    }

    void OnStatus(QMediaPlayer::MediaStatus status) {
        if (status != QMediaPlayer::EndOfMedia || state_ != PlayState::Running)
            return;
        endReached_ = true;
        Queue({EC_COMPLETE, 0, 0});
    }

    void OnError(QMediaPlayer::Error error) {
        if (!rendered_)
            return;  // render failures are Render's result
        Queue({EC_ERRORABORT, static_cast<LPARAM>(error), 0});
    }

    void Queue(GraphEvent e) {
        events_.push_back(e);
        if (window_)
            window_->Post(message_, 0, param_);
    }

    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
    std::deque<GraphEvent> events_;
    MessageWindow* window_ = nullptr;
    UINT message_ = 0;
    LPARAM param_ = 0;
    PlayState state_ = PlayState::Stopped;
    long volume_ = kVolumeFull;
    bool rendered_ = false;
    bool endReached_ = false;
    int waiting_ = 0;
};

MediaGraph::MediaGraph() : impl_(std::make_unique<Impl>()) {}
MediaGraph::~MediaGraph() = default;

HRESULT MediaGraph::Create() {
    return impl_->Create();
}
void MediaGraph::Release() {
    impl_->Drop();
}
HRESULT MediaGraph::Rebuild() {
    Release();
    return Create();
}
bool MediaGraph::IsCreated() const {
    return impl_->Created();
}
HRESULT MediaGraph::RenderFile(const std::string& utf8Path) {
    return impl_->Render(utf8Path);
}
bool MediaGraph::IsRendered() const {
    return impl_->Rendered();
}
HRESULT MediaGraph::SetNotifyWindow(MessageWindow* window, UINT message, LPARAM param) {
    return impl_->SetNotify(window, message, param);
}
HRESULT MediaGraph::Run() {
    return impl_->Run();
}
HRESULT MediaGraph::Pause() {
    return impl_->Pause();
}
HRESULT MediaGraph::Stop() {
    return impl_->Stop();
}
HRESULT MediaGraph::StopWhenReady() {
    PlayState ignored;
    impl_->GetState(100, &ignored);
    return impl_->Stop();
}
HRESULT MediaGraph::GetState(unsigned timeoutMs, PlayState* state) {
    return impl_->GetState(timeoutMs, state);
}
HRESULT MediaGraph::GetDuration(std::int64_t* duration) {
    return impl_->Duration(duration);
}
HRESULT MediaGraph::GetCurrentPosition(std::int64_t* position) {
    return impl_->Position(position);
}
HRESULT MediaGraph::SetPositions(std::int64_t current) {
    return impl_->Seek(current);
}
HRESULT MediaGraph::GetEvent(long* code, LPARAM* param1, LPARAM* param2, unsigned timeoutMs) {
    return impl_->TakeEvent(code, param1, param2, timeoutMs);
}
HRESULT MediaGraph::FreeEventParams(long, LPARAM, LPARAM) {
    return impl_->Created() ? S_OK : E_NOINTERFACE;
}
HRESULT MediaGraph::put_Volume(long volume) {
    return impl_->PutVolume(volume);
}
HRESULT MediaGraph::get_Volume(long* volume) {
    return impl_->GetVolume(volume);
}

}  // namespace vt::media
