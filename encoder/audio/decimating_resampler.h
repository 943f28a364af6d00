// SPDX-License-Identifier: GPL-2.0-or-later
// libresample's high-quality converter, redone for a whole-number step
// down (44.1 kHz to 22.05 or 11.025 kHz, 22.05 to 11.025 kHz): there every
// output sample lies on an input sample, so all of them share one set of
// filter taps and sixteen are computed at a time, each with the library's
// own multiply-then-add order, giving the library's very bits. Processors
// with 256-bit vectors (AVX) run the same sums in half the instructions.
#pragma once

#include <cstdint>
#include <vector>

namespace kdx {

class DecimatingResampler {
 public:
  // True when ratio is 1 / n for a whole n from 2 to 16, the steps this
  // class converts.
  static bool Handles(double ratio);

  // Widest uses 256-bit vectors where the processor has them; Baseline
  // keeps to the instructions every x86-64 has (same bits either way).
  enum class Vectors { Widest, Baseline };
  explicit DecimatingResampler(double ratio, Vectors vectors = Vectors::Widest);

  // As libresample's resample_process with room for every output: takes
  // input, appends the samples produced to *output and sets *used to the
  // input taken. last marks the final input.
  void Process(const float* input, int count, bool last, int* used, std::vector<float>* output);

 private:
  // Filters the outputs at input positions first, first + step, ... up to
  // (not including) end into *output.
  void Filter(int64_t first, int64_t end, std::vector<float>* output);

  int step_ = 0;           // input samples per output sample
  float gain_ = 1.0f;      // the library's filter scale at this ratio
  std::vector<float> left_;   // taps on the current and earlier inputs
  std::vector<float> right_;  // taps on the later inputs
  int xOff_ = 0;           // filter reach kept before and after the inputs
  int xSize_ = 0;          // input buffer length
  std::vector<float> x_;   // input buffer, as the library keeps it
  int xRead_ = 0;          // where new input goes into x_
  double time_ = 0.0;      // the converter's time, in input samples
  std::vector<float> split_;  // x_ regrouped by position modulo step_
  bool wideVectors_ = false;
};

}  // namespace kdx
