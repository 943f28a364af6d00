// SPDX-License-Identifier: GPL-2.0-or-later
// The encoder library's interface: the conversion request, the messages it
// posts during a run and its exports.
#pragma once

#include <cstdint>

#include "platform/base/platform_types.h"

#define WM_TRANSCODE_PROGRESS (WM_USER + 1)  // 0x401: wParam percent, lParam thumbnail or 0
#define WM_TRANSCODE_ERROR (WM_USER + 2)     // 0x402: wParam 0 with a result, or one of the codes below

// wParam codes of WM_TRANSCODE_ERROR besides 0 (a failed step).
#define KDX_ERROR_NO_QUALITY_FITS 1      // a chunk does not fit even at JPEG quality 1
#define KDX_ERROR_NO_PICTURE 5           // the range gave no picture; no file was written
#define KDX_ERROR_DESTINATION_TAKEN 6    // another file took the destination's name meanwhile; it stays
#define KDX_ERROR_TOO_MANY_FRAMES 7      // the range holds more frames than the header counts; refused before the pass
#define KDX_ERROR_SOUND_TOO_LARGE 8      // the range's sound part would pass 4 GiB; refused before the pass

// lParam of a failed step (wParam 0): the result in the low 32 bits and,
// where the system told why, its errno in the high 32 bits. Without a
// reason lParam is the result itself, as readers of the result alone expect.
inline LPARAM KdxErrorParam(HRESULT result, int reason) {
  if (reason == 0) return static_cast<LPARAM>(result);
  return static_cast<LPARAM>((static_cast<uint64_t>(static_cast<uint32_t>(reason)) << 32) |
                             static_cast<uint32_t>(result));
}
inline HRESULT KdxErrorResult(LPARAM lParam) { return static_cast<HRESULT>(static_cast<uint32_t>(lParam)); }
// The errno carried with a failed step's result, 0 when none.
inline int KdxErrorReason(LPARAM lParam) {
  const uint32_t high = static_cast<uint32_t>(static_cast<uint64_t>(lParam) >> 32);
  return high == 0xFFFFFFFFu ? 0 : static_cast<int>(high);  // a result's own sign bits
}

// Values of the library's state word.
#define TS_BUSY 0
#define TS_STOP_REQUESTED 1
#define TS_IDLE 2

typedef void (*FRAME_HOOK)(unsigned int image);

typedef struct TRANSCODER_PARAM {
  HWND hWnd;               // receives every message of a run
  HDC hDC;                 // handed to thumbnail conversion
  int64_t rtStart;         // range start, 100-ns units
  int64_t rtStop;          // range end, 100-ns units
  int32_t nMaxWidth;       // largest output width (64..220)
  int32_t nMaxHeight;      // largest output height (64..220)
  uint8_t bFitWhole;       // nonzero: keep the whole picture; zero: fill and crop
  int32_t nSampleRate;     // output sample rate in Hz
  int32_t nChannels;       // most output channels
  int32_t nFrameRate;      // highest output frame rate
  int32_t nVideoKBps;      // picture data in KiB per second
  int32_t nRotate;         // 0 none, 1 and 3 quarter turns, 2 half turn
  int32_t nFlip;           // 1 mirror left-right, 2 upside down
  int32_t nThumbStep;      // a thumbnail every this many percent
  uint8_t bSecondChunks;   // nonzero: one chunk per second
  FRAME_HOOK pfnFrameHook; // called with the work image before scaling, or null
} TRANSCODER_PARAM;

// Flags of NewTranscoderEx.
#define KDX_OPEN_ADD_SILENCE 0x1u  // a source with pictures and no sound track gets a silent sound part

// Why NewTranscoderEx refused a source with VFW_E_NO_AUDIO_PATH or
// VFW_E_NO_VIDEO_PATH.
#define KDX_REASON_NONE 0
#define KDX_REASON_NO_STREAM 1   // the file holds no sound track, or no picture
#define KDX_REASON_NO_DECODER 2  // it holds one, and nothing here decodes it

#if defined(__GNUC__)
#define KDX_EXPORT __attribute__((visibility("default")))
#else
#define KDX_EXPORT
#endif

extern "C" {
// Besides the graph's results: E_INVALIDARG, with nothing opened, when the
// destination is the source itself (through a link or ".." too).
KDX_EXPORT HRESULT NewTranscoder(HWND hWnd, const char* szSource, const char* szDest, int64_t* pDuration);
// NewTranscoder with flags (KDX_OPEN_*); *pReason (when given) gets a
// KDX_REASON_* value, KDX_REASON_NONE unless a stream was missing.
// NewTranscoder is this with no flags.
KDX_EXPORT HRESULT NewTranscoderEx(HWND hWnd, const char* szSource, const char* szDest, int64_t* pDuration,
                                   uint32_t flags, int32_t* pReason);
KDX_EXPORT int Transcode(const TRANSCODER_PARAM* pParam);
KDX_EXPORT int StopTranscode(void);
KDX_EXPORT int CloseTranscoder(void);
KDX_EXPORT HBITMAP Preview(int64_t rtTime, HDC hDC, SIZE size, int nRotate, int nFlip);
}
