#include "saver/common/system_libraries_win32.h"

#include <windows.h>
#include <delayimp.h>

#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tremblix {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

std::wstring InSystemFolder(const char* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring path(folder, length);
  path += L'\\';
  for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return path;
}

// A late import is loaded by its full path in the system folder, whatever
// the search order.
FARPROC WINAPI LoadFromSystemFolder(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  const std::wstring path = InSystemFolder(info->szDll);
  if (path.empty()) return nullptr;
  return reinterpret_cast<FARPROC>(LoadLibraryW(path.c_str()));
}

// Without the library or its function the program cannot go on: it says
// which one, and ends, rather than crash.
FARPROC WINAPI SayWhatFailed(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliFailLoadLib && notice != dliFailGetProc) return nullptr;
  std::wstring text = L"Tremblix: ";
  for (const char* c = info && info->szDll ? info->szDll : "?"; *c; ++c) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  }
  text += notice == dliFailLoadLib ? L" をシステム フォルダから読み込めませんでした。"
                                   : L" に必要な関数がありません。";
  MessageBoxW(nullptr, text.c_str(), L"Tremblix (ScreenSaver)",
              MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  ExitProcess(3);
}

}  // namespace

bool LoadLibrariesFromSystemFolderOnly() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  auto set = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  return set && set(kSearchSystem32);
}

HMODULE LoadSystemLibrary(const char* name) {
  const std::wstring path = InSystemFolder(name);
  return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

void BindLateImportsNow(const void* import_list) {
  const auto& list = *static_cast<const ImgDelayDescr*>(import_list);
  char* const base = reinterpret_cast<char*>(&__ImageBase);
  const char* dll = base + list.rvaDLLName;
  auto* module = reinterpret_cast<HMODULE*>(base + list.rvaHmod);
  DelayLoadInfo info = {};
  info.cb = sizeof(info);
  info.szDll = dll;
  if (!*module) *module = LoadLibraryW(InSystemFolder(dll).c_str());
  if (!*module) SayWhatFailed(dliFailLoadLib, &info);
  auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + list.rvaIAT);
  auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + list.rvaINT);
  for (; name->u1.AddressOfData; ++name, ++address) {
    const char* function =
        IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)
            ? MAKEINTRESOURCEA(IMAGE_ORDINAL(name->u1.Ordinal))
            : reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name;
    FARPROC found = GetProcAddress(*module, function);
    if (!found) SayWhatFailed(dliFailGetProc, &info);
    address->u1.Function = reinterpret_cast<ULONG_PTR>(found);
  }
}

void* SystemFunction(const char* library, const char* function) {
  HMODULE module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, function)) : nullptr;
}

}  // namespace tremblix

// MinGW's delay-load helper calls these.
ExternC PfnDliHook __pfnDliNotifyHook2 = tremblix::LoadFromSystemFolder;
ExternC PfnDliHook __pfnDliFailureHook2 = tremblix::SayWhatFailed;
