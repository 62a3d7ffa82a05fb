// The spectrum's transform: an in-place real FFT of 512 samples, computed as a 256-point complex
// radix-2 FFT (bit-reversal permutation, then the butterfly stages) followed by the real-FFT split
// step. Afterwards the buffer holds 256 complex values (re, im), scaled by 1/512; entry 0 holds
// the DC value and entry 1 the value at half the sampling rate.
#pragma once

#include <span>

inline constexpr int kFftPoints = 512;

void Fft256(std::span<float, kFftPoints> buffer);
// The two halves of the complex FFT of `points` complex values (2 x points floats).
void FftBitReverse(std::span<float> data, int points);
void FftButterflies(std::span<float> data, int points);
