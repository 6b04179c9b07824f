#include "linesim/Model.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>

#include "Hex.h"
#include "linesim/SteadyTimeSource.h"

namespace linesim {

namespace {

using usbline::protocol::Request;
namespace status = usbline::protocol::status;

// The exchange takes the number as complete after this pause in dialling;
// lindev may send a number one key per request.
constexpr std::uint64_t kInterDigitTimeoutMs = 1000;
constexpr std::size_t kLogCapacity = 10000;
// ARS terminator codes of request 0x76 and the received-key codes they stand for.
constexpr int kTerminatorStar = 10, kTerminatorZero = 11, kTerminatorHash = 12;
// How long the strobe stays low before a far-end key that interrupts the
// echo of a dialled digit: longer than the line library's poll interval
// (30 ms, up to 45 ms with its 15 ms sleep), so a poll sees the strobe fall
// and then rise with the key.
constexpr std::uint64_t kStrobeGapMs = 60;

std::string RequestLine(bool in, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                        std::uint16_t length, const std::uint8_t* data, bool ok) {
    char head[96];
    std::snprintf(head, sizeof head, "%s 0x%02X value=0x%04X index=0x%04X length=%u data=",
                  in ? "VENDOR_READ" : "VENDOR_WRITE", request, value, index, length);
    std::string line = head + HexBytes(data, length);
    if (!ok)
        line += " STALL";
    return line;
}

// Character of a code sent with request 0x62.
char SendCodeChar(std::uint8_t code) {
    static const char table[] = "0123456789*#ABCD";
    return code < 16 ? table[code] : '?';
}

// The received-key code of a code sent with request 0x62: what the
// adapter's own receiver reports while it dials.
int EchoCodeOf(std::uint8_t sendCode) { return ReceiveCodeOf(SendCodeChar(sendCode)); }

}  // namespace

const char* ToneName(Tone tone) {
    switch (tone) {
        case Tone::Off:
            return "off";
        case Tone::Dial:
            return "dial";
        case Tone::RingBack:
            return "ringback";
        case Tone::Busy1:
            return "busy1";
        case Tone::Busy2:
            return "busy2";
    }
    return "off";
}

const char* CallStateName(CallState state) {
    switch (state) {
        case CallState::Idle:
            return "idle";
        case CallState::Ringing:
            return "ringing";
        case CallState::DialTone:
            return "dialtone";
        case CallState::Dialling:
            return "dialling";
        case CallState::RingBack:
            return "ringback";
        case CallState::Connected:
            return "connected";
        case CallState::FarHungUp:
            return "farhungup";
    }
    return "idle";
}

int ReceiveCodeOf(char key) {
    if (key >= '1' && key <= '9')
        return key - '0';
    switch (std::toupper(static_cast<unsigned char>(key))) {
        case '*':
            return 10;
        case '0':
            return 11;
        case '#':
            return 12;
        case 'A':
            return 13;
        case 'B':
            return 14;
        case 'C':
            return 15;
        case 'D':
            return 0;
        default:
            return -1;
    }
}

Cadence CadenceOf(Tone tone) {
    switch (tone) {
        case Tone::Dial:
            return Cadence::Continuous();
        case Tone::RingBack:
            return Cadence{1000, 2000, 0};
        case Tone::Busy1:
            return Cadence{250, 250, 0};
        case Tone::Busy2:
            return Cadence{500, 500, 0};
        case Tone::Off:
            break;
    }
    return Cadence{0, 1, 0};
}

LineTone SoundOf(Tone tone) {
    switch (tone) {
        case Tone::Dial:
            return {350.0, 440.0, CadenceOf(tone)};
        case Tone::RingBack:
            return {440.0, 480.0, CadenceOf(tone)};
        case Tone::Busy1:
        case Tone::Busy2:
            return {480.0, 620.0, CadenceOf(tone)};
        case Tone::Off:
            break;
    }
    return {};
}

Model::Model(std::shared_ptr<TimeSource> time)
    : time_(time ? std::move(time) : std::make_shared<SteadyTimeSource>()) {}

bool Model::IsPlugged() {
    std::lock_guard lock(mutex_);
    return plugged_;
}

std::uint64_t Model::PlugGeneration() {
    std::lock_guard lock(mutex_);
    return generation_;
}

std::optional<std::uint16_t> Model::StatusWord() {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return std::nullopt;
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    return StatusLocked(now);
}

void Model::StartToneLocked(Tone tone, std::uint64_t at) {
    tone_ = tone;
    toneStartMs_ = at;
    UpdateRecordedLineLocked(time_->NowMs());
}

void Model::UpdateRecordedLineLocked(std::uint64_t now) {
    if (!record_.Active())
        return;
    record_.Accrue(now, speed_);
    const bool offHook = OffHookLocked();
    record_.SetTone(offHook ? SoundOf(tone_) : LineTone(), record_.SampleAt(toneStartMs_, speed_));
    record_.SilenceSourceFrom(offHook && call_ == CallState::FarHungUp
                                  ? record_.SampleAt(farHungUpMs_, speed_)
                                  : std::numeric_limits<std::int64_t>::max());
}

void Model::AdvanceLocked(std::uint64_t now) {
    if (ringing_ && ringCadence_.Finished(now - ringStartMs_)) {
        ringing_ = false;  // the caller gave up
        if (call_ == CallState::Ringing)
            call_ = CallState::Idle;
    }
    if (ringBackAtMs_ != 0 && now >= ringBackAtMs_) {
        const std::uint64_t at = ringBackAtMs_;
        ringBackAtMs_ = 0;
        if (call_ == CallState::Dialling) {
            call_ = CallState::RingBack;
            StartToneLocked(Tone::RingBack, at);
        }
    }
    for (Key& key : keys_) {
        if (key.startMs > now)
            break;
        if (!key.delivered)
            ArsKeyLocked(key.code);
        key.delivered = true;
    }
    while (!keys_.empty() && keys_.front().startMs + keys_.front().onMs <= now) keys_.pop_front();
    while (!echoKeys_.empty() && echoKeys_.front().startMs + echoKeys_.front().onMs <= now)
        echoKeys_.pop_front();
    DrainStreamLocked(now);
}

void Model::ArsKeyLocked(int code) {
    if (!arsActive_ || arsReady_ || arsKeys_.size() >= arsMaxKeys_)
        return;
    arsKeys_.push_back(static_cast<std::uint8_t>(code));
    if (code == arsTerminator_ || arsKeys_.size() >= arsMaxKeys_)
        arsReady_ = true;
}

const Model::Key* Model::StrobeLocked(std::uint64_t now) const {
    if (!keys_.empty() && keys_.front().startMs <= now)
        return &keys_.front();
    if (!echoKeys_.empty() && echoKeys_.front().startMs <= now)
        return &echoKeys_.front();
    return nullptr;
}

std::uint64_t Model::InterruptEchoLocked(std::uint64_t due, std::uint32_t onMs) {
    std::uint64_t rise = due;
    for (Key& echo : echoKeys_) {
        if (echo.startMs >= due)
            break;
        if (echo.EndMs() > due)
            echo.onMs = static_cast<std::uint32_t>(due - echo.startMs);
        rise = std::max(rise, echo.EndMs() + kStrobeGapMs);
    }
    // An echo starting under the key would hide its code, one right after it
    // would show no rise: neither is shown. The cut echo does not come back,
    // or the line library would report its digit twice.
    const std::uint64_t clearUntil = rise + onMs + kStrobeGapMs;
    std::erase_if(echoKeys_, [&](const Key& echo) {
        return echo.startMs >= due && echo.startMs < clearUntil;
    });
    return rise;
}

bool Model::ClearOfKeysLocked(Key& echo) const {
    for (const Key& key : keys_) {
        const std::uint64_t from = key.startMs > kStrobeGapMs ? key.startMs - kStrobeGapMs : 0;
        const std::uint64_t until = key.EndMs() + kStrobeGapMs;
        if (echo.EndMs() <= from || echo.startMs >= until)
            continue;
        if (echo.startMs >= from)
            return false;
        echo.onMs = static_cast<std::uint32_t>(from - echo.startMs);
        return true;  // it ends before this key, so before every later one
    }
    return echo.onMs > 0;
}

bool Model::DiallingShownLocked(std::uint64_t now) const {
    if (now < diallingUntilMs_)
        return true;
    for (const Key& key : keys_)
        if (key.duringDialling && key.dueMs <= now && now < key.EndMs())
            return true;
    return false;
}

void Model::DrainStreamLocked(std::uint64_t now) {
    record_.Accrue(now, speed_);
    if (stream_ != StreamKind::Playback && stream_ != StreamKind::ArsPrompt)
        return;
    drain_.Advance(now, speed_);
    if (!drain_.Active())
        stream_ = StreamKind::None;
}

std::uint16_t Model::StatusLocked(std::uint64_t now) {
    const bool offHook = OffHookLocked();
    std::uint16_t s = 0;
    if (ringing_ && !offHook && ringCadence_.IsOn(now - ringStartMs_))
        s |= status::kRing;
    if (!callerId_.empty())
        s |= status::kCallerIdBits;
    if (arsKey_)
        s |= status::kArs;
    if (offHook)
        s |= status::kOffHook;
    if (stream_ == StreamKind::Playback)
        s |= status::kPlaying;
    if (record_.Active())
        s |= status::kRecording;
    if (reversed_)
        s |= status::kReverse;
    if (offHook && tone_ != Tone::Off && now >= toneStartMs_ &&
        CadenceOf(tone_).IsOn(now - toneStartMs_))
        s |= status::kTone;
    if (const Key* key = StrobeLocked(now))
        s |= status::kDtmfStrobe | static_cast<std::uint16_t>(key->code << status::kDigitShift);
    if (DiallingShownLocked(now))
        s |= status::kDialling;
    return s;
}

void Model::HookChangedLocked(bool wasOffHook, std::uint64_t now) {
    const bool offHook = OffHookLocked();
    if (offHook == wasOffHook)
        return;
    ringBackAtMs_ = 0;
    if (offHook) {
        manualDtmf_.clear();
        if (ringing_) {  // answering the incoming call
            ringing_ = false;
            call_ = CallState::Connected;
            StartToneLocked(Tone::Off, now);
        } else {
            call_ = CallState::DialTone;
            StartToneLocked(Tone::Dial, now);
        }
    } else {
        call_ = CallState::Idle;
        StartToneLocked(Tone::Off, now);
    }
}

void Model::DigitsSentLocked(std::uint64_t ringBackAt) {
    if (!OffHookLocked())
        return;
    if (call_ == CallState::DialTone || call_ == CallState::Dialling) {
        call_ = CallState::Dialling;
        tone_ = Tone::Off;
        ringBackAtMs_ = ringBackAt;
        UpdateRecordedLineLocked(time_->NowMs());
    }
}

void Model::AppendLogLocked(std::string line) {
    log_.push_back(std::move(line));
    while (log_.size() > kLogCapacity) log_.pop_front();
}

void Model::LogTransfer(const std::string& line) {
    std::lock_guard lock(mutex_);
    AppendLogLocked(line);
}

bool Model::VendorRequest(bool in, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                          std::uint16_t length, std::uint8_t* data) {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return false;
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    if (in && data)
        std::memset(data, 0, length);
    const bool ok = in ? AnswerReadLocked(request, value, index, length, data, now)
                       : AnswerWriteLocked(request, value, index, length, data, now);
    AppendLogLocked(RequestLine(in, request, value, index, length, data, ok));
    return ok;
}

bool Model::AnswerReadLocked(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                             std::uint16_t length, std::uint8_t* data, std::uint64_t now) {
    auto put = [&](std::size_t at, std::uint8_t byte) {
        if (data && at < length)
            data[at] = byte;
    };
    const bool wasOffHook = OffHookLocked();
    switch (static_cast<Request>(request)) {
        case Request::StartRecord:  // value = record flag, index = mode
            if (index > 3)
                return false;
            record_.Start(index, now);
            farAudio_.Rewind();
            microphone_.Rewind();
            UpdateRecordedLineLocked(now);
            return true;
        case Request::StopRecord:
            record_.Stop();
            return true;
        case Request::HookOn:
            adapterOffHook_ = false;
            HookChangedLocked(wasOffHook, now);
            return true;
        case Request::HookOff:
            adapterOffHook_ = true;
            HookChangedLocked(wasOffHook, now);
            return true;
        case Request::ReadCallerId:  // handed out once
            if (callerId_.empty()) {
                put(0, 0xFF);
            } else {
                for (std::size_t i = 0; i < callerId_.size(); ++i) put(i, callerId_[i]);
                callerId_.clear();
            }
            return true;
        case Request::DiallerReady:
            put(0, now < diallingUntilMs_ ? 0x00 : 0xFF);
            return true;
        case Request::ReadArsKeys: {  // count, then codes
            const std::size_t n = std::min<std::size_t>(arsKeys_.size(), length ? length - 1 : 0);
            put(0, static_cast<std::uint8_t>(n));
            for (std::size_t i = 0; i < n; ++i) put(i + 1, arsKeys_[i]);
            arsKeys_.clear();
            arsReady_ = false;
            arsActive_ = false;  // collected: later keys belong to no prompt
            return true;
        }
        case Request::VolumeStep:  // one volume step is the pair index 3, index 4
            if ((value != 1 && value != 2) || (index != 3 && index != 4))
                return false;
            if (index == 4)
                lineVolume_ = std::clamp(lineVolume_ + (value == 1 ? 1 : -1), 0, 15);
            return true;
        case Request::PollArsKeys:
            put(0, arsReady_ ? 0xFF : 0x00);
            return true;
        case Request::EndArsRepetition:
            arsActive_ = false;
            if (stream_ == StreamKind::ArsPrompt)
                stream_ = StreamKind::None, drain_.Stop();
            return true;
        case Request::AnnounceFirmware:  // the firmware image follows on bulk-out
            if (stream_ == StreamKind::Playback || stream_ == StreamKind::ArsPrompt)
                drain_.Stop();
            stream_ = StreamKind::Firmware;
            firmwareAnnounced_ = value;
            firmwareBytes_ = 0;
            return true;
        case Request::Flash:  // the exchange gives a fresh dial tone afterwards
            ++flashes_;
            if (OffHookLocked()) {
                call_ = CallState::DialTone;
                ringBackAtMs_ = 0;
                StartToneLocked(Tone::Dial, now + value);
            }
            return true;
        case Request::ToggleMute:
            muted_ = !muted_;
            return true;
        case Request::HeadsetMode:
            headsetMode_ = value ? 1 : 0;
            return true;
        case Request::ReadVersions:
            put(0, hardware_);
            put(1, firmware_);
            return true;
        case Request::ReadManualDtmf:
            put(0, static_cast<std::uint8_t>(manualDtmf_.size()));
            for (std::size_t i = 0; i < manualDtmf_.size(); ++i) put(i + 1, manualDtmf_[i]);
            return true;
        case Request::ArsLed:
            arsLed_ = value != 0;
            return true;
        case Request::Hold:
            held_ = value != 0;
            return true;
        case Request::Serial:
            for (int i = 0; i < 4; ++i) put(i, static_cast<std::uint8_t>(serial_ >> (8 * i)));
            return true;
        case Request::HeadsetLocation:
            put(0, static_cast<std::uint8_t>(headsetLocation_));
            return true;
        case Request::PlayVolume:
            // Codes outside 52..80 are not applied; the reply shows the level kept.
            if (value == 1 && index >= 52 && index <= 80)
                playVolume_ = index;
            put(0, playVolume_);
            return true;
        case Request::HeadsetDisconnect:
            headsetDisconnected_ = value != 0;
            return true;
        default:
            return false;
    }
}

bool Model::AnswerWriteLocked(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                              std::uint16_t length, const std::uint8_t* data, std::uint64_t now) {
    switch (static_cast<Request>(request)) {
        case Request::StartPlayback: {  // value | index << 16 bytes; format byte 1: compressed
            if (length < 1 || !data || data[0] > 1)
                return false;
            stream_ = StreamKind::Playback;
            const bool compressed = data[0] == 1;
            drain_.Start(compressed ? PlaybackDrain::Format::Compressed
                                    : PlaybackDrain::Format::WavData,
                         value | (static_cast<std::uint64_t>(index) << 16), now);
            capture_.BeginStream(compressed);
            return true;
        }
        case Request::SendDtmf: {  // value ms on and index ms off each digit
            if (length == 0 || !data)
                return false;
            for (std::uint16_t i = 0; i < length; ++i)
                if (data[i] > 15)
                    return false;
            for (std::uint16_t i = 0; i < length; ++i) sentDigits_ += SendCodeChar(data[i]);
            const std::uint64_t from = std::max(now, diallingUntilMs_);
            // The adapter hears its own digits: one strobe each while bit 10 is
            // up, unless a far-end key is shown then.
            for (std::uint16_t i = 0; i < length; ++i) {
                Key echo{EchoCodeOf(data[i]),
                         from + static_cast<std::uint64_t>(i) * (value + index), value, true};
                if (value > 0 && ClearOfKeysLocked(echo))
                    echoKeys_.push_back(echo);
            }
            diallingUntilMs_ = from + static_cast<std::uint64_t>(length) * (value + index);
            for (Key& key : keys_)
                if (key.dueMs >= now && key.dueMs < diallingUntilMs_)
                    key.duringDialling = true;
            DigitsSentLocked(diallingUntilMs_ + kInterDigitTimeoutMs);
            return true;
        }
        case Request::StartArsPrompt:  // one repetition: size, then max keys, terminator
            if (length < 2 || !data)
                return false;
            arsActive_ = true;
            arsReady_ = false;
            arsKeys_.clear();
            // The reply holds the count and up to max keys - 1 keys.
            arsMaxKeys_ = data[0] > 1 ? data[0] - 1u : 1u;
            arsTerminator_ = data[1] == kTerminatorStar   ? kTerminatorStar
                             : data[1] == kTerminatorZero ? kTerminatorZero
                             : data[1] == kTerminatorHash ? kTerminatorHash
                                                          : data[1];
            stream_ = StreamKind::ArsPrompt;
            drain_.Start(PlaybackDrain::Format::WavData,
                         value | (static_cast<std::uint64_t>(index) << 16), now);
            capture_.BeginStream(false);
            return true;
        case Request::TestHardware:
            ++hardwareTests_;
            return true;
        case Request::Serial:
            if (value != 1 || length < 4 || !data)
                return false;
            serial_ = data[0] | (data[1] << 8) | (data[2] << 16) |
                      (static_cast<std::uint32_t>(data[3]) << 24);
            return true;
        default:
            return false;
    }
}

std::uint32_t Model::BulkOut(const std::uint8_t* data, std::uint32_t length) {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return 0;
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    if (stream_ == StreamKind::Playback || stream_ == StreamKind::ArsPrompt) {
        const std::uint32_t accepted = drain_.Accept(data, length, now);
        capture_.Append(data, accepted);
        return accepted;
    }
    if (stream_ == StreamKind::Firmware) {
        // Kept as far as announced: the size "status" shows.
        const std::uint64_t room = firmwareAnnounced_ - std::min(firmwareAnnounced_, firmwareBytes_);
        firmwareBytes_ += std::min<std::uint64_t>(room, length);
        if (firmwareBytes_ >= firmwareAnnounced_)
            stream_ = StreamKind::None;
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(room, length));
    }
    return length;  // nothing to pace: taken and dropped
}

bool Model::TakeStopBlock(std::uint32_t length) {
    constexpr std::uint32_t kStreamBlock = 64;
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return false;
    AdvanceLocked(time_->NowMs());
    if (stream_ != StreamKind::Playback || length == 0 || length >= kStreamBlock ||
        length >= drain_.Outstanding())
        return false;
    drain_.Stop();
    stream_ = StreamKind::None;
    return true;
}

std::uint32_t Model::BulkIn(std::uint8_t* data, std::uint32_t length) {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return 0;
    AdvanceLocked(time_->NowMs());
    if (data && length > 0) {
        std::memset(data, 0, length);
        data[0] = arsReady_ ? 1 : 0;  // keys arrived during the prompt
    }
    return length;
}

bool Model::IsRecording() {
    std::lock_guard lock(mutex_);
    return plugged_ && record_.Active();
}

std::size_t Model::TakeRecords(std::vector<std::uint8_t>& records) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || !record_.Active())
        return 0;
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    // A held line carries the far end; on-hook the local microphone speaks.
    return record_.Take(OffHookLocked() ? farAudio_ : microphone_, records);
}

std::string Model::Ring(const Cadence& cadence) {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    if (OffHookLocked())
        return "line is off-hook";
    ringing_ = true;
    ringCadence_ = cadence;
    ringStartMs_ = now;
    call_ = CallState::Ringing;
    return {};
}

std::string Model::StopRing() {
    std::lock_guard lock(mutex_);
    AdvanceLocked(time_->NowMs());
    if (!ringing_)
        return "not ringing";
    ringing_ = false;
    if (call_ == CallState::Ringing)
        call_ = CallState::Idle;
    return {};
}

std::string Model::SetCallerId(const std::string& number, const std::string& dateTime) {
    const bool dated = !dateTime.empty();
    const std::size_t most = dated ? kMaxCallerIdDigits : kMaxCallerIdDigitsNoDate;
    if (number.size() > most)
        return "number longer than " + std::to_string(most) + " digits (the 26-byte message " +
               (dated ? "with a date" : "without a date") + " holds no more)";
    for (char c : number)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return "number has a character other than digits and letters";
    if (dated && (dateTime.size() != 8 || !std::all_of(dateTime.begin(), dateTime.end(), [](char c) {
                      return c >= '0' && c <= '9';
                  })))
        return "date and time must be 8 digits MMDDhhmm";
    std::vector<std::uint8_t> m;
    m.push_back(0x80);
    m.push_back(static_cast<std::uint8_t>((dated ? 10 : 0) + 2 + number.size()));
    if (dated) {
        m.push_back(0x01);
        m.push_back(0x08);
        m.insert(m.end(), dateTime.begin(), dateTime.end());
    }
    m.push_back(0x02);
    m.push_back(static_cast<std::uint8_t>(number.size()));
    m.insert(m.end(), number.begin(), number.end());
    m.resize(usbline::protocol::kCallerIdReplySize, 0);
    std::lock_guard lock(mutex_);
    callerId_ = std::move(m);
    return {};
}

std::string Model::PressKeys(const std::string& keys, std::uint32_t onMs, std::uint32_t offMs) {
    if (keys.empty())
        return "no keys";
    std::vector<int> codes;
    for (char c : keys) {
        const int code = ReceiveCodeOf(c);
        if (code < 0)
            return std::string("not a key: ") + c;
        codes.push_back(code);
    }
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    std::uint64_t at = now;
    if (!keys_.empty())
        at = std::max(now, keys_.back().EndMs() + offMs);
    for (int code : codes) {
        const bool duringDialling = at < diallingUntilMs_;
        const std::uint64_t rise = InterruptEchoLocked(at, onMs);
        keys_.push_back(Key{code, rise, onMs, false, at, duringDialling});
        at = rise + onMs + offMs;
    }
    return {};
}

std::string Model::SetTone(Tone tone) {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    StartToneLocked(tone, now);
    return {};
}

std::string Model::FarAnswer() {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    if (call_ != CallState::RingBack && call_ != CallState::Dialling)
        return "no outgoing call to answer";
    call_ = CallState::Connected;
    ringBackAtMs_ = 0;
    StartToneLocked(Tone::Off, now);
    return {};
}

std::string Model::FarHangUp() {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    switch (call_) {
        case CallState::Ringing:  // the caller gives up before an answer
            ringing_ = false;
            call_ = CallState::Idle;
            return {};
        case CallState::Dialling:
        case CallState::RingBack:
        case CallState::Connected:
            call_ = CallState::FarHungUp;
            farHungUpMs_ = now;
            ringBackAtMs_ = 0;
            StartToneLocked(Tone::Busy2, now);
            return {};
        default:
            return "no call";
    }
}

std::string Model::SetHandset(bool up) {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    const bool was = OffHookLocked();
    handsetUp_ = up;
    HookChangedLocked(was, now);
    return {};
}

std::string Model::DialOnPhone(const std::string& digits) {
    if (digits.empty())
        return "no digits";
    std::vector<std::uint8_t> codes;
    for (char c : digits) {
        const int code = ReceiveCodeOf(c);
        if (code < 0)
            return std::string("not a key: ") + c;
        codes.push_back(static_cast<std::uint8_t>(code));
    }
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    if (manualDtmf_.size() + codes.size() > kManualDtmfSize - 1)
        return "more than 63 digits";
    manualDtmf_.insert(manualDtmf_.end(), codes.begin(), codes.end());
    DigitsSentLocked(now + kInterDigitTimeoutMs);
    return {};
}

void Model::SetArsKey(bool down) {
    std::lock_guard lock(mutex_);
    arsKey_ = down;
}

std::string Model::SetHeadsetLocation(int location) {
    if (location != 1 && location != 2)
        return "headset location must be 1 or 2";
    std::lock_guard lock(mutex_);
    headsetLocation_ = location;
    return {};
}

void Model::SetReversal(bool reversed) {
    std::lock_guard lock(mutex_);
    reversed_ = reversed;
}

void Model::SetVersions(std::uint8_t hardware, std::uint8_t firmware) {
    std::lock_guard lock(mutex_);
    hardware_ = hardware;
    firmware_ = firmware;
}

std::string Model::SetSpeed(std::uint32_t speed) {
    if (speed < 1 || speed > 100)
        return "speed must be 1..100";
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    // AdvanceLocked counted what is already due at the old rate.
    speed_ = speed;
    return {};
}

std::string Model::SetFarAudio(const std::string& path) {
    std::string error;
    std::optional<AudioSource> source = path.empty() ? AudioSource() : AudioSource::FromWav(path, &error);
    if (!source)
        return error;
    std::lock_guard lock(mutex_);
    AdvanceLocked(time_->NowMs());
    farAudio_ = std::move(*source);
    return {};
}

std::string Model::SetMicrophone(const std::string& what) {
    std::string error;
    std::optional<AudioSource> source = what.empty()   ? AudioSource()
                                        : what == "tone" ? AudioSource::Tone()
                                                         : AudioSource::FromWav(what, &error);
    if (!source)
        return error;
    std::lock_guard lock(mutex_);
    AdvanceLocked(time_->NowMs());
    microphone_ = std::move(*source);
    return {};
}

std::string Model::SetCapture(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (path.empty()) {
        capture_.Off();
        return {};
    }
    return capture_.SetPath(path);
}

void Model::Unplug() {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return;
    plugged_ = false;
    ++generation_;
    // An adapter that loses power lets go of the line (a handset that is up
    // still holds it) and ends whatever it was doing: the ring it showed,
    // tones, digits, the streams.
    const std::uint64_t now = time_->NowMs();
    const bool wasOffHook = OffHookLocked();
    adapterOffHook_ = false;
    HookChangedLocked(wasOffHook, now);
    if (ringing_) {
        ringing_ = false;
        if (call_ == CallState::Ringing)
            call_ = CallState::Idle;
    }
    if (!OffHookLocked())
        StartToneLocked(Tone::Off, now);
    keys_.clear();
    echoKeys_.clear();
    diallingUntilMs_ = 0;
    record_.Stop();
    stream_ = StreamKind::None;
    drain_.Stop();
    arsActive_ = false;
    arsReady_ = false;
}

void Model::Plug() {
    std::lock_guard lock(mutex_);
    plugged_ = true;
}

Model::State Model::GetState() {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = time_->NowMs();
    AdvanceLocked(now);
    State s;
    s.plugged = plugged_;
    s.status = plugged_ ? StatusLocked(now) : status::kUnreadable;
    s.adapterOffHook = adapterOffHook_;
    s.handsetUp = handsetUp_;
    s.call = call_;
    s.tone = tone_;
    s.callerIdWaiting = !callerId_.empty();
    s.hardware = hardware_;
    s.firmware = firmware_;
    s.serial = serial_;
    s.playVolume = playVolume_;
    s.lineVolume = lineVolume_;
    s.headsetLocation = headsetLocation_;
    s.headsetMode = headsetMode_;
    s.muted = muted_;
    s.held = held_;
    s.arsLed = arsLed_;
    s.headsetDisconnected = headsetDisconnected_;
    s.arsKey = arsKey_;
    s.recording = record_.Active();
    s.recordMode = record_.Mode();
    s.playing = stream_ == StreamKind::Playback;
    s.playedBytes = drain_.Played();
    s.firmwareBytes = firmwareBytes_;
    s.farAudio = farAudio_.Name();
    s.microphone = microphone_.Name();
    s.capture = capture_.On() ? capture_.Path() : "off";
    s.speed = speed_;
    s.flashes = flashes_;
    s.hardwareTests = hardwareTests_;
    for (std::uint8_t code : manualDtmf_) {
        static const char table[] = "D123456789*0#ABC";
        s.manualDigits += table[code & 0xF];
    }
    s.sentDigits = sentDigits_;
    return s;
}

std::string Model::StatusLine() {
    const State s = GetState();
    char word[8];
    std::snprintf(word, sizeof word, "0x%04X", s.status);
    std::string line = word;
    line += std::string(" hook=") + ((s.adapterOffHook || s.handsetUp) ? "off" : "on");
    line += std::string(" adapter=") + (s.adapterOffHook ? "off" : "on");
    line += std::string(" handset=") + (s.handsetUp ? "up" : "down");
    line += std::string(" call=") + CallStateName(s.call);
    line += std::string(" tone=") + ToneName(s.tone);
    line += std::string(" plugged=") + (s.plugged ? "yes" : "no");
    line += std::string(" recording=") + (s.recording ? "yes" : "no");
    line += std::string(" playing=") + (s.playing ? "yes" : "no");
    line += " headset=" + std::to_string(s.headsetLocation);
    line += " volume=" + std::to_string(s.playVolume);
    line += " speed=" + std::to_string(s.speed);
    line += " firmware=" + std::to_string(s.firmwareBytes);
    return line;
}

std::vector<std::string> Model::Log() {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

void Model::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

}  // namespace linesim
