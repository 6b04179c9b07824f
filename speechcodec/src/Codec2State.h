#pragma once
// One codec2 3200 bit/s state, shared by the record encoder and decoder.
//
// libcodec2 keeps process-wide state (its decoder draws the phases of
// unvoiced sound from one global random generator), so every codec2 call
// from any thread is serialised through one lock; Run hands the state to a
// call under that lock. As a consequence codec2 frames decode to equally
// valid but not identical samples from one run to the next.

#include <mutex>

struct CODEC2;

namespace speechcodec {

class Codec2State {
public:
    Codec2State();  // throws std::bad_alloc when codec2 cannot make a state
    ~Codec2State();
    Codec2State(const Codec2State&) = delete;
    Codec2State& operator=(const Codec2State&) = delete;

    // codec2 has no reset call; a fresh state is cheap.
    void Reset();

    template <typename Call>
    void Run(Call&& call) {
        std::lock_guard lock(Lock());
        call(codec_);
    }

private:
    static std::mutex& Lock();
    static CODEC2* Create();

    CODEC2* codec_;
};

}  // namespace speechcodec
