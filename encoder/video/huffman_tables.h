// Baseline JPEG files as the image library writes them carry the standard
// Huffman tables; tables made for the file's own data hold the same
// picture in fewer bytes, so a chunk fits a higher quality.
#pragma once

#include <cstdint>
#include <vector>

namespace kdx {

// Rewrites `jpeg` losslessly with Huffman tables optimised for its data;
// still a baseline JPEG with the same quantisation and pixels. False (the
// bytes unchanged) when they are not a JPEG libjpeg can read.
bool OptimiseHuffmanTables(std::vector<uint8_t>& jpeg);

}  // namespace kdx
