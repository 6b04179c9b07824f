#pragma once
// Speech for the codec's tests and measurements, 8 kHz mono PCM16.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace speechcodec::test {

// A speech-like signal: syllables of voiced sound (a glottal pulse train with
// a moving pitch through three moving formants) and fricative noise,
// separated by short pauses of quiet line noise. Deterministic for a seed.
std::vector<std::int16_t> SynthesiseSpeech(double seconds, std::uint32_t seed = 1);

// Real synthetic speech from espeak-ng, resampled to 8 kHz by sox, made in
// folder; nullopt when either program is missing or fails.
std::optional<std::vector<std::int16_t>> SpeakText(const std::string& text,
                                                   const std::filesystem::path& folder);

// SpeakText of a fixed sentence, else SynthesiseSpeech of the same length.
std::vector<std::int16_t> TestSpeech(const std::filesystem::path& folder);

// Whole 160-sample frames of samples as little-endian bytes.
std::vector<std::uint8_t> ToFrameBytes(const std::vector<std::int16_t>& samples);

}  // namespace speechcodec::test
