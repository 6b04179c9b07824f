#pragma once
// The simulated adapter: its firmware (vendor requests, the 16-bit line
// status word, the recording and playback streams) and the telephone line
// and exchange behind it (ringing, caller ID, far-end keys, call-progress
// tones, answer, hang-up), plus the local handset and keys.
//
// The status word is computed from the state and the time source's "now",
// so a test that steps a ManualTimeSource sees exactly the cadences the
// daemon shows in real time. Every method is thread-safe (one mutex);
// none blocks: blocking transfers are built above the model (DeviceSession).
//
// Received-digit codes (status bits 12-15, the manual-DTMF buffer, ARS
// keys): "1".."9" are 1..9, "*" 10, "0" 11, "#" 12, "A" 13, "B" 14, "C" 15,
// "D" 0.
//
// The adapter hears the digits it dials (request 0x62) and shows each as a
// strobe while bit 10 is up. A far-end key pressed meanwhile interrupts that
// echo: the strobe falls for longer than a poll, rises with the key's code,
// and bit 10 stays up until the key's strobe ends, so the line library
// reports it as an extension digit. The interrupted echo does not come back.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "linesim/AudioSource.h"
#include "linesim/Cadence.h"
#include "linesim/CaptureFile.h"
#include "linesim/LineTone.h"
#include "linesim/PlaybackDrain.h"
#include "linesim/RecordStream.h"
#include "linesim/TimeSource.h"
#include "usbline/AdapterProtocol.h"

namespace linesim {

// The status word's bits, the request codes and the record sizes are the
// protocol's (usbline/AdapterProtocol.h).
//
// The caller-ID reply holds 0x80, length, the date/time parameter (10) and
// the number parameter (2 + n): 12 digits with a date, 22 without.
inline constexpr std::size_t kMaxCallerIdDigits = 12;
inline constexpr std::size_t kMaxCallerIdDigitsNoDate = 22;
static_assert(2 + 10 + 2 + kMaxCallerIdDigits == usbline::protocol::kCallerIdReplySize);
static_assert(2 + 2 + kMaxCallerIdDigitsNoDate == usbline::protocol::kCallerIdReplySize);
// The reply of ReadManualDtmf: a count and up to 63 codes.
inline constexpr std::size_t kManualDtmfSize = usbline::protocol::kManualDtmfReplySize;
// Bytes per second of the audio streams at speed 1 (8 kHz, one byte each).
inline constexpr std::uint32_t kAudioBytesPerSecond = 8000;

// Tones the exchange plays while the line is held.
enum class Tone { Off, Dial, RingBack, Busy1, Busy2 };

// What the line is doing, as the exchange sees it.
enum class CallState {
    Idle,       // on-hook, nothing happening
    Ringing,    // an incoming call rings
    DialTone,   // off-hook, no digits yet
    Dialling,   // the adapter is sending digits
    RingBack,   // digits sent, the far end is being rung
    Connected,  // talking (answered either way)
    FarHungUp,  // the far end hung up; busy tone until on-hook
};

const char* ToneName(Tone tone);
const char* CallStateName(CallState state);

// Receive code of a key character; -1 if the character is not a key.
int ReceiveCodeOf(char key);

// Cadences that the line library's default tone table classifies right
// (30 ms polls: busy-1 bursts of 6..11 polls, busy-2 11..18, ring-back
// 22..35, dial tone 36 continuous polls).
Cadence CadenceOf(Tone tone);
// The sound of a tone on the line: dial tone 350 + 440 Hz, ring-back
// 440 + 480 Hz, both busy tones 480 + 620 Hz, each with its cadence.
LineTone SoundOf(Tone tone);
// Default ring: 1 s on, 1 s off. The gap stays below the 1.5 s after which
// the line library declares ring end.
inline constexpr Cadence kDefaultRing{1000, 1000, 0};

class Model {
public:
    // Null means real time.
    explicit Model(std::shared_ptr<TimeSource> time = nullptr);
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    std::uint64_t NowMs() const { return time_->NowMs(); }

    // ---- the adapter as its driver sees it --------------------------------
    bool IsPlugged();
    // Changes at every unplug: handles opened before it stay dead.
    std::uint64_t PlugGeneration();
    // The line status word; nullopt while unplugged.
    std::optional<std::uint16_t> StatusWord();
    // One vendor request. `in` is the direction (data from the adapter).
    // `data` holds `length` bytes: the data stage sent (out) or the reply
    // (in, filled here). False when the adapter stalls the request
    // (unknown code, unplugged).
    bool VendorRequest(bool in, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                       std::uint16_t length, std::uint8_t* data);
    // Bulk-out (playback, ARS prompts, firmware image): bytes accepted now,
    // limited by the playback buffer, which drains at the real-time rate of
    // its format x speed. The caller retries the rest later (the driver
    // blocks meanwhile).
    std::uint32_t BulkOut(const std::uint8_t* data, std::uint32_t length);
    // A whole bulk-out transfer of `length` bytes is about to arrive. A block
    // shorter than the stream's 64 bytes that does not complete what was
    // announced is the host's stop: the playback ends at once (the status
    // bit falls) and true says the block is taken as that stop.
    bool TakeStopBlock(std::uint32_t length);
    // Bulk-in (ARS key status byte: nonzero when keys wait): bytes returned.
    std::uint32_t BulkIn(std::uint8_t* data, std::uint32_t length);
    // Recording: whether a recording runs, and the whole 64-byte records of
    // line audio due since the last take, appended to `records` (the number
    // of records added).
    bool IsRecording();
    std::size_t TakeRecords(std::vector<std::uint8_t>& records);
    // Logs a driver-level transfer that the model does not answer itself.
    void LogTransfer(const std::string& line);

    // ---- the line, the far end and the local user ------------------------
    // Errors are returned as text (empty = done), as the control protocol
    // reports them.
    std::string Ring(const Cadence& cadence);
    std::string StopRing();
    // Caller ID message for the next 0x61 read; MMDDhhmm date and time, or
    // none (empty); an empty number is a withheld one.
    std::string SetCallerId(const std::string& number, const std::string& dateTime);
    // Far-end keys, one strobe per key, queued after keys already pending.
    std::string PressKeys(const std::string& keys, std::uint32_t onMs, std::uint32_t offMs);
    std::string SetTone(Tone tone);
    std::string FarAnswer();
    std::string FarHangUp();
    std::string SetHandset(bool up);
    // Digits dialled on the local phone: the manual-DTMF buffer (0x7F).
    std::string DialOnPhone(const std::string& digits);
    void SetArsKey(bool down);
    std::string SetHeadsetLocation(int location);
    void SetReversal(bool reversed);
    void SetVersions(std::uint8_t hardware, std::uint8_t firmware);
    std::string SetSpeed(std::uint32_t speed);
    // Far-end audio of a held line (a WAV file; empty path: silence).
    std::string SetFarAudio(const std::string& path);
    // The local microphone: a WAV file, "tone" or "" (silence).
    std::string SetMicrophone(const std::string& what);
    // Writes what is played into the line to a file (empty path: off).
    std::string SetCapture(const std::string& path);
    void Unplug();
    void Plug();

    // ---- inspection --------------------------------------------------------
    struct State {
        bool plugged = true;
        std::uint16_t status = 0;  // 0xFFFF while unplugged
        bool adapterOffHook = false;
        bool handsetUp = false;
        CallState call = CallState::Idle;
        Tone tone = Tone::Off;
        bool callerIdWaiting = false;
        std::uint8_t hardware = 5, firmware = 3;
        std::uint32_t serial = 0;
        std::uint8_t playVolume = 66;
        int lineVolume = 8;
        int headsetLocation = 1;
        int headsetMode = 0;  // 1 DSP, 0 TEL
        bool muted = false, held = false, arsLed = false, headsetDisconnected = false;
        bool arsKey = false;
        bool recording = false;
        int recordMode = 0;
        bool playing = false;
        std::uint64_t playedBytes = 0;
        std::uint32_t speed = 1;
        std::uint64_t firmwareBytes = 0;  // of the last image downloaded
        std::string farAudio = "off", microphone = "off", capture = "off";
        std::uint32_t flashes = 0, hardwareTests = 0;
        std::string manualDigits;  // as dialled on the phone
        std::string sentDigits;    // codes sent by request 0x62, as characters
    };
    State GetState();
    // "status" answer of the control protocol.
    std::string StatusLine();
    // One line per vendor request and bulk transfer received, oldest first.
    std::vector<std::string> Log();
    void ClearLog();

private:
    struct Key {
        int code;
        std::uint64_t startMs;  // the strobe rises
        std::uint32_t onMs;
        bool delivered;  // counted as an ARS key
        // Far-end keys: when the key came (its strobe may rise later, after
        // an echo it interrupts) and whether it came while the adapter dialled.
        std::uint64_t dueMs = 0;
        bool duringDialling = false;

        std::uint64_t EndMs() const { return startMs + onMs; }
    };
    // The strobe shown now, of far-end keys or of digits the adapter dials.
    const Key* StrobeLocked(std::uint64_t now) const;
    // A far-end key due at `due` cuts the echo strobe that is up then; the
    // key's strobe rises once the strobe has been low long enough for a poll
    // to see it. Echoes that would touch the key's strobe are cut, moved past
    // it or dropped. Returns when the key's strobe rises.
    std::uint64_t InterruptEchoLocked(std::uint64_t due, std::uint32_t onMs);
    // Keeps a new echo strobe clear of the far-end keys already scheduled;
    // false when nothing of it is left to show.
    bool ClearOfKeysLocked(Key& echo) const;
    // Bit 10 also stays up while a key that came during dialling is shown,
    // so that the line library takes it as an extension digit.
    bool DiallingShownLocked(std::uint64_t now) const;
    void ArsKeyLocked(int code);

    bool OffHookLocked() const { return adapterOffHook_ || handsetUp_; }
    // Applies every timed transition due by `now` (ring count ended,
    // digits finished sending, playback drained, keys expired).
    void AdvanceLocked(std::uint64_t now);
    std::uint16_t StatusLocked(std::uint64_t now);
    void StartToneLocked(Tone tone, std::uint64_t at);
    // What the recording hears of the exchange: the tone of a held line, and
    // no far end after it hung up.
    void UpdateRecordedLineLocked(std::uint64_t now);
    void HookChangedLocked(bool wasOffHook, std::uint64_t now);
    void DigitsSentLocked(std::uint64_t ringBackAt);
    void DrainStreamLocked(std::uint64_t now);
    void AppendLogLocked(std::string line);
    bool AnswerReadLocked(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                          std::uint16_t length, std::uint8_t* data, std::uint64_t now);
    bool AnswerWriteLocked(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                           std::uint16_t length, const std::uint8_t* data, std::uint64_t now);

    std::shared_ptr<TimeSource> time_;
    std::mutex mutex_;

    // Timed state is advanced lazily from const readers too.
    bool plugged_ = true;
    std::uint64_t generation_ = 1;
    bool adapterOffHook_ = false;
    bool handsetUp_ = false;
    CallState call_ = CallState::Idle;
    Tone tone_ = Tone::Off;
    std::uint64_t toneStartMs_ = 0;
    std::uint64_t farHungUpMs_ = 0;  // when call_ became FarHungUp
    bool ringing_ = false;
    Cadence ringCadence_ = kDefaultRing;
    std::uint64_t ringStartMs_ = 0;
    std::vector<std::uint8_t> callerId_;  // empty: nothing waits
    std::deque<Key> keys_;
    std::deque<Key> echoKeys_;  // digits sent by request 0x62, shown as strobes
    std::uint64_t diallingUntilMs_ = 0;  // bit 10 until then
    std::uint64_t ringBackAtMs_ = 0;     // 0: no number being completed
    bool arsKey_ = false;
    bool reversed_ = false;

    std::uint8_t hardware_ = 5, firmware_ = 3;
    std::uint32_t serial_ = 0;
    std::uint8_t playVolume_ = 66;
    int lineVolume_ = 8;
    int headsetLocation_ = 1;
    int headsetMode_ = 0;
    bool muted_ = false, held_ = false, arsLed_ = false, headsetDisconnected_ = false;
    std::uint32_t flashes_ = 0, hardwareTests_ = 0;
    std::vector<std::uint8_t> manualDtmf_;
    std::string sentDigits_;

    // Recording (0x56/0x57) and the line audio it carries.
    RecordStream record_;
    AudioSource farAudio_;
    AudioSource microphone_ = AudioSource::Tone();

    // What bulk-out data currently feeds: a playback (0x58), an ARS prompt
    // (0x76) or a firmware image (0x79). Audio drains at the real rate.
    enum class StreamKind { None, Playback, ArsPrompt, Firmware };
    StreamKind stream_ = StreamKind::None;
    PlaybackDrain drain_;
    CaptureFile capture_;
    std::uint64_t firmwareAnnounced_ = 0;
    std::uint64_t firmwareBytes_ = 0;
    std::uint32_t speed_ = 1;

    // ARS prompt-and-collect (0x76 .. 0x77): keys are kept up to the
    // maximum; they are reported once the terminator or the last key came.
    bool arsActive_ = false;
    bool arsReady_ = false;
    std::size_t arsMaxKeys_ = 1;
    int arsTerminator_ = 12;
    std::vector<std::uint8_t> arsKeys_;

    std::deque<std::string> log_;
};

}  // namespace linesim
