// Process and system services of kernel32, advapi32 and shell32 that the application reads:
// global memory blocks, the clipboard, module path, version, memory status, the read-only
// registry, timing counters, starting programs.
#pragma once

#include "win32/constants.h"
#include "win32/types.h"

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
HMODULE GetModuleHandleA(LPCSTR name);
BOOL GetVersionExA(OSVERSIONINFOA* info);
DWORD GetVersion();
void GlobalMemoryStatus(MEMORYSTATUS* status);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// The processor's cycle counter (the time-stamp counter where the processor has one).
ULONGLONG ReadTimeStampCounter();
DWORD GetTickCount();
void Sleep(DWORD ms);
UINT WinExec(LPCSTR commandLine, UINT show);
UINT SetHandleCount(UINT count);
DWORD GetLastError();
void SetLastError(DWORD error);

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, DWORD access, HKEY* result);
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize);
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize);
LONG RegCloseKey(HKEY key);
