// Basic COM/OLE Automation types: status codes, GUIDs, dispatch ids, dates and the small
// records the Automation calls pass around. Values are those of the Windows SDK.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace com {

using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DATE = double;  // days since 30 December 1899, fraction = time of day
using OLECHAR = char16_t;
using BSTR = OLECHAR*;  // UTF-16, length prefix before the first character
using LPCOLESTR = const OLECHAR*;

// ---- status codes ---------------------------------------------------------------------------
constexpr HRESULT hr(std::uint32_t v) { return static_cast<HRESULT>(v); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = hr(0x80004001);
constexpr HRESULT E_NOINTERFACE = hr(0x80004002);
constexpr HRESULT E_POINTER = hr(0x80004003);
constexpr HRESULT E_ABORT = hr(0x80004004);
constexpr HRESULT E_FAIL = hr(0x80004005);
constexpr HRESULT E_UNEXPECTED = hr(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = hr(0x80070005);
constexpr HRESULT E_HANDLE = hr(0x80070006);
constexpr HRESULT E_OUTOFMEMORY = hr(0x8007000E);
constexpr HRESULT E_INVALIDARG = hr(0x80070057);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hr(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = hr(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = hr(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = hr(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = hr(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = hr(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = hr(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = hr(0x80020009);
constexpr HRESULT DISP_E_OVERFLOW = hr(0x8002000A);
constexpr HRESULT DISP_E_BADINDEX = hr(0x8002000B);
constexpr HRESULT DISP_E_UNKNOWNLCID = hr(0x8002000C);
constexpr HRESULT DISP_E_ARRAYISLOCKED = hr(0x8002000D);
constexpr HRESULT DISP_E_BADPARAMCOUNT = hr(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hr(0x8002000F);
constexpr HRESULT DISP_E_BADCALLEE = hr(0x80020010);
constexpr HRESULT DISP_E_NOTACOLLECTION = hr(0x80020011);
constexpr HRESULT DISP_E_DIVBYZERO = hr(0x80020012);
constexpr HRESULT OLE_E_WRONGCOMPOBJ = hr(0x8004000E);
constexpr HRESULT CLASS_E_NOAGGREGATION = hr(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hr(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = hr(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = hr(0x80040151);
constexpr HRESULT REGDB_E_CLASSNOTREG = hr(0x80040154);
constexpr HRESULT MK_E_UNAVAILABLE = hr(0x800401E3);
constexpr HRESULT MK_E_SYNTAX = hr(0x800401E4);
constexpr HRESULT CO_E_NOTINITIALIZED = hr(0x800401F0);
constexpr HRESULT CO_E_ALREADYINITIALIZED = hr(0x800401F1);
constexpr HRESULT CO_E_CLASSSTRING = hr(0x800401F3);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = hr(0x80080005);

constexpr bool SUCCEEDED(HRESULT h) { return h >= 0; }
constexpr bool FAILED(HRESULT h) { return h < 0; }

// ---- variant types ---------------------------------------------------------------------------
enum : VARTYPE {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7,
  VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13,
  VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21,
  VT_INT = 22, VT_UINT = 23, VT_VOID = 24, VT_HRESULT = 25, VT_PTR = 26,
  VT_TYPEMASK = 0x0FFF, VT_VECTOR = 0x1000, VT_ARRAY = 0x2000, VT_BYREF = 0x4000,
};

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// ---- dispatch ids, invoke flags, contexts, locales -------------------------------------------
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_NEWENUM = -4;

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 8;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = 0x15;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_WINDOWS_1252 = 1252;

// ---- currency and decimal --------------------------------------------------------------------
struct CY {
  std::int64_t int64;  // value × 10000
};

struct DECIMAL {
  WORD wReserved;
  std::uint8_t scale;  // 0 … 28
  std::uint8_t sign;   // 0x80 = negative
  ULONG Hi32;
  std::uint64_t Lo64;  // value = (Hi32:Lo64) / 10^scale
};
constexpr std::uint8_t DECIMAL_NEG = 0x80;

// ---- GUIDs ----------------------------------------------------------------------------------
struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
  // The 16 bytes compared as two words (every Invoke checks its IID).
  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    using Words = std::array<std::uint64_t, 2>;
    return std::bit_cast<Words>(a) == std::bit_cast<Words>(b);
  }
};
static_assert(sizeof(GUID) == 16);
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(const GUID& a, const GUID& b) { return a == b; }

constexpr IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr IID IID_IUnknown = {0x00000000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IDispatch = {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IEnumVARIANT = {0x00020404, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// Asked of an IDispatch, answered (with the IDispatch itself) by objects whose member names and
// dispatch ids are fixed by their implementation class: the same for every object of that class
// and for as long as the process runs, so a client may remember them per class. So are the call
// kinds a member answers: a kind refused with DISP_E_MEMBERNOTFOUND (which then leaves the
// result, the exception record and the argument-error index untouched) is always refused.
constexpr IID IID_IFixedNames = {0x7A1E5C30, 0x4B2D, 0x4E61, {0x9C, 0x1F, 0x52, 0x3D, 0x88, 0x0B, 0x6E, 0x17}};

}  // namespace com
