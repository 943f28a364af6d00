// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/decimating_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// libresample's filter design, exported by the library though not in its
// header: the taps must be its own to give its bits.
extern "C" void lrsLpFilter(double c[], int N, double frq, double Beta, int Num);

namespace kdx {

namespace {

struct FilterTaps {
  const float* left;
  const int* leftOffsets;
  size_t leftCount;
  const float* right;
  const int* rightOffsets;
  size_t rightCount;
};

// libresample's high-quality filter: a Kaiser-windowed sinc of 35 input
// samples, tabulated 4096 times per input sample, one wing stored.
constexpr int kNpc = 4096;
constexpr int kNmult = 35;
constexpr int kNwing = kNpc * (kNmult - 1) / 2;
constexpr double kRolloff = 0.90;
constexpr double kBeta = 6;
constexpr int kMaxStep = 16;

// Outputs are computed kBlock at a time in two vectors of eight, each
// lane adding its own products in the library's order: the lane count
// does not change a bit.
constexpr int kLanes = 8;
constexpr int kBlock = 2 * kLanes;
using Lanes = float __attribute__((vector_size(kLanes * sizeof(float))));

// The taps the library's wing filter reads at phase ph, in its order: the
// table index starts at ph x dh and steps by dh, added up as it adds it.
std::vector<float> WingTaps(const std::vector<float>& table, double ph, bool rightWing, double dh) {
  double ho = ph * dh;
  int end = kNwing;
  if (rightWing) {
    --end;  // the right wing drops its last tap
    if (ph == 0) ho += dh;
  }
  std::vector<float> taps;
  for (; static_cast<int>(ho) < end; ho += dh) taps.push_back(table[static_cast<size_t>(static_cast<int>(ho))]);
  return taps;
}

// One wing's sums for kBlock outputs, tap by tap as the library adds: the
// product first, then into the sum (the file is built without fused
// multiply-add).
__attribute__((always_inline)) inline void AddWingBlock(const float* taps, const int* offsets, size_t count,
                                                        const float* split, Lanes* low, Lanes* high) {
  Lanes sumLow{};
  Lanes sumHigh{};
  for (size_t k = 0; k < count; ++k) {
    Lanes xLow, xHigh;
    std::memcpy(&xLow, split + offsets[k], sizeof xLow);
    std::memcpy(&xHigh, split + offsets[k] + kLanes, sizeof xHigh);
    const Lanes productLow = xLow * taps[k];
    const Lanes productHigh = xHigh * taps[k];
    sumLow = sumLow + productLow;
    sumHigh = sumHigh + productHigh;
  }
  *low = sumLow;
  *high = sumHigh;
}

// Whole blocks of outputs: out[i] for i < blocks x kBlock.
__attribute__((always_inline)) inline void FilterBlocks(const FilterTaps& taps, const float* split, int64_t blocks,
                                                        float gain, float* out) {
  for (int64_t b = 0; b < blocks; ++b) {
    const float* at = split + b * kBlock;
    Lanes leftLow, leftHigh, rightLow, rightHigh;
    AddWingBlock(taps.left, taps.leftOffsets, taps.leftCount, at, &leftLow, &leftHigh);
    AddWingBlock(taps.right, taps.rightOffsets, taps.rightCount, at, &rightLow, &rightHigh);
    const Lanes low = (leftLow + rightLow) * gain;
    const Lanes high = (leftHigh + rightHigh) * gain;
    std::memcpy(out + b * kBlock, &low, sizeof low);
    std::memcpy(out + b * kBlock + kLanes, &high, sizeof high);
  }
}

// The same code for processors with 256-bit vectors, where each vector of
// eight is one instruction instead of two.
__attribute__((target("avx"))) void FilterBlocksAvx(const FilterTaps& taps, const float* split, int64_t blocks,
                                                    float gain, float* out) {
  FilterBlocks(taps, split, blocks, gain, out);
}

void FilterBlocksBaseline(const FilterTaps& taps, const float* split, int64_t blocks, float gain, float* out) {
  FilterBlocks(taps, split, blocks, gain, out);
}

// One output at a time, for the last few of a call.
float FilterOne(const FilterTaps& taps, const float* split) {
  float left = 0.0f;
  for (size_t k = 0; k < taps.leftCount; ++k) {
    const float product = split[taps.leftOffsets[k]] * taps.left[k];
    left = left + product;
  }
  float right = 0.0f;
  for (size_t k = 0; k < taps.rightCount; ++k) {
    const float product = split[taps.rightOffsets[k]] * taps.right[k];
    right = right + product;
  }
  return left + right;
}

bool WideVectorsAvailable() {
  static const bool available = __builtin_cpu_supports("avx");
  return available;
}

}  // namespace

bool DecimatingResampler::Handles(double ratio) {
  if (!(ratio > 0.0)) return false;
  const double step = 1.0 / ratio;
  return step >= 2.0 && step <= kMaxStep && step == std::floor(step);
}

DecimatingResampler::DecimatingResampler(double ratio, Vectors vectors)
    : wideVectors_(vectors == Vectors::Widest && WideVectorsAvailable()) {
  step_ = static_cast<int>(1.0 / ratio);
  gain_ = static_cast<float>(1.0f * ratio);
  std::vector<double> design(kNwing);
  lrsLpFilter(design.data(), kNwing, 0.5 * kRolloff, kBeta, kNpc);
  const std::vector<float> table(design.begin(), design.end());
  const double dh = std::min(static_cast<double>(kNpc), ratio * kNpc);
  // Every output lies on an input sample: phase 0 on the left, 1 on the right.
  left_ = WingTaps(table, 0.0, false, dh);
  right_ = WingTaps(table, 1.0, true, dh);
  xOff_ = static_cast<int>(((kNmult + 1) / 2.0) * std::max(1.0, 1.0 / ratio) + 10);
  xSize_ = std::max(2 * xOff_ + 10, 4096);
  x_.assign(static_cast<size_t>(xSize_ + xOff_), 0.0f);
  xRead_ = xOff_;
  time_ = xOff_;
}

void DecimatingResampler::Process(const float* input, int count, bool last, int* used, std::vector<float>* output) {
  *used = 0;
  for (;;) {
    const int length = std::min(xSize_ - xRead_, count - *used);
    std::copy(input + *used, input + *used + length, x_.begin() + xRead_);
    *used += length;
    xRead_ += length;
    int nx = xRead_ - 2 * xOff_;
    if (last && *used == count) {
      // The end: zeros after the input, and every output up to it.
      nx = xRead_ - xOff_;
      std::fill(x_.begin() + xRead_, x_.begin() + xRead_ + xOff_, 0.0f);
    }
    if (nx <= 0) break;
    // The library's clock: outputs while the time is before the end of the
    // samples ready, the time then moved back by them.
    double time = time_;
    const double endTime = time + nx;
    const int64_t first = static_cast<int>(time);
    int64_t outputs = 0;
    for (; time < endTime; time += step_) ++outputs;
    Filter(first, outputs, output);
    time_ = time - nx;
    int xp = xOff_ + nx;
    const int creep = static_cast<int>(time_) - xOff_;
    if (creep != 0) {
      time_ -= creep;
      xp += creep;
    }
    // The filter's reach before the next input stays.
    const int reuse = xRead_ - (xp - xOff_);
    std::memmove(x_.data(), x_.data() + (xp - xOff_), static_cast<size_t>(reuse) * sizeof(float));
    xRead_ = reuse;
  }
}

void DecimatingResampler::Filter(int64_t first, int64_t count, std::vector<float>* output) {
  if (count <= 0) return;
  // x_ regrouped so that the inputs one tap reads for consecutive outputs,
  // step_ apart, lie side by side: row r holds positions r, r + step, ...
  const int64_t span = xRead_ + xOff_;
  const int64_t rows = (span + step_ - 1) / step_ + kBlock;
  split_.assign(static_cast<size_t>(rows * step_), 0.0f);
  for (int64_t r = 0; r < step_; ++r) {
    float* row = split_.data() + r * rows;
    for (int64_t q = r; q < span; q += step_) *row++ = x_[static_cast<size_t>(q)];
  }
  const auto offsetOf = [&](int64_t q) { return static_cast<int>((q % step_) * rows + q / step_); };
  std::vector<int> leftOffsets(left_.size());
  std::vector<int> rightOffsets(right_.size());
  for (size_t k = 0; k < left_.size(); ++k) leftOffsets[k] = offsetOf(first - static_cast<int64_t>(k));
  for (size_t k = 0; k < right_.size(); ++k) rightOffsets[k] = offsetOf(first + 1 + static_cast<int64_t>(k));

  const size_t base = output->size();
  output->resize(base + static_cast<size_t>(count));
  float* out = output->data() + base;
  const FilterTaps taps{left_.data(), leftOffsets.data(), left_.size(), right_.data(), rightOffsets.data(), right_.size()};
  const int64_t blocks = count / kBlock;
  if (wideVectors_)
    FilterBlocksAvx(taps, split_.data(), blocks, gain_, out);
  else
    FilterBlocksBaseline(taps, split_.data(), blocks, gain_, out);
  for (int64_t i = blocks * kBlock; i < count; ++i) out[i] = FilterOne(taps, split_.data() + i) * gain_;
}

}  // namespace kdx
