// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/robustness/damaged_inputs.h"

#include "tests/support/test_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace kdxtest {

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::string& path) {
  const std::string bytes = kdxtest::ReadFile(path);
  return Bytes(bytes.begin(), bytes.end());
}

std::string Save(const std::string& folder, const std::string& name, const Bytes& bytes) {
  const std::string path = folder + "/" + name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Flips `count` bytes (each XOR a non-zero value) at random places in
// [first, last).
void FlipBytes(Bytes& bytes, size_t first, size_t last, int count, std::mt19937& random) {
  last = std::min(last, bytes.size());
  if (first >= last) return;
  std::uniform_int_distribution<size_t> where(first, last - 1);
  std::uniform_int_distribution<int> mask(1, 255);
  for (int i = 0; i < count; ++i) bytes[where(random)] ^= static_cast<uint8_t>(mask(random));
}

Bytes RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace

std::vector<DamagedInput> DamagedCopies(const std::string& clip, const std::string& folder) {
  const Bytes original = ReadAll(clip);
  const fs::path clipPath(clip);
  const std::string stem = clipPath.stem().string();
  const std::string extension = clipPath.extension().string();
  std::vector<DamagedInput> inputs;
  auto add = [&](const std::string& label, const Bytes& bytes) {
    inputs.push_back({stem + " " + label, Save(folder, stem + "_" + label + extension, bytes)});
  };

  for (size_t cut : {size_t{512}, size_t{4096}}) {
    add("first_" + std::to_string(cut) + "_bytes", Bytes(original.begin(), original.begin() + std::min(cut, original.size())));
  }
  for (int percent : {10, 50, 90}) {
    const size_t cut = original.size() * percent / 100;
    add("cut_at_" + std::to_string(percent) + "_percent", Bytes(original.begin(), original.begin() + cut));
  }

  // Seeded by the clip's length: the same clip is always damaged the same way.
  std::mt19937 random(static_cast<uint32_t>(original.size()));
  Bytes header = original;
  FlipBytes(header, 0, 1024, 8, random);
  add("header_flipped", header);
  Bytes middle = original;
  FlipBytes(middle, original.size() / 2 - 32768, original.size() / 2 + 32768, 64, random);
  add("middle_flipped", middle);
  return inputs;
}

std::vector<DamagedInput> NonVideoInputs(const std::string& clip, const std::string& folder) {
  std::vector<DamagedInput> inputs;
  inputs.push_back({"zero-length file", Save(folder, "empty.avi", {})});
  inputs.push_back({"random bytes as .avi", Save(folder, "random.avi", RandomBytes(256 * 1024, 1))});
  inputs.push_back({"random bytes as .mp4", Save(folder, "random.mp4", RandomBytes(256 * 1024, 2))});

  const std::string directory = folder + "/folder.mp4";
  fs::create_directory(directory);
  inputs.push_back({"a folder", directory});
  inputs.push_back({"a missing file", folder + "/missing.avi"});
  const std::string copy = Save(folder, "copy.avi", ReadAll(clip));
  inputs.push_back({"a path below a file", copy + "/clip.avi"});

  const std::string pipe = folder + "/pipe.avi";
  if (mkfifo(pipe.c_str(), 0600) == 0) inputs.push_back({"a pipe with no writer", pipe});

  // Permissions do not stop the superuser: then the file stays out.
  const std::string locked = Save(folder, "locked.avi", ReadAll(clip));
  chmod(locked.c_str(), 0);
  const int probe = open(locked.c_str(), O_RDONLY);
  if (probe >= 0) {
    close(probe);
    fs::remove(locked);
  } else {
    inputs.push_back({"an unreadable file", locked});
  }
  return inputs;
}

}  // namespace kdxtest
