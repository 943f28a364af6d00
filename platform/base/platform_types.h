// SPDX-License-Identifier: GPL-2.0-or-later
// Handle types, result codes and message numbers of the desktop platform the
// converter was designed for, kept with their names and values so that both
// deliverables and their callers agree on them.
#pragma once

#include <cstdint>

typedef int32_t HRESULT;
typedef int32_t BOOL;
typedef uint32_t UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define MAX_PATH 260
#define WM_USER 0x400

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_ABORT ((HRESULT)0x80004004u)
#define E_POINTER ((HRESULT)0x80004003u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define E_INVALIDARG ((HRESULT)0x80070057u)

// Graph-building results.
#define VFW_E_NO_AUDIO_PATH ((HRESULT)0x8004025Cu)
#define VFW_E_NO_VIDEO_PATH ((HRESULT)0x8004025Du)
#define VFW_E_CANNOT_RENDER ((HRESULT)0x80040265u)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// Graph event code of a finished stream.
#define EC_COMPLETE 0x01

struct MessageWindow;
struct Bitmap;
struct DeviceContext;

typedef MessageWindow* HWND;
typedef Bitmap* HBITMAP;
typedef void* HGDIOBJ;
typedef DeviceContext* HDC;

typedef struct tagSIZE {
  int32_t cx;
  int32_t cy;
} SIZE;
