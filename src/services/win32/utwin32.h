// Windows routines of the utility layer: binding library functions at first
// use, module and process paths, fitting a path into a width, version
// information of modules and windows.
#pragma once

#include <windows.h>

#include <memory>

#include "services/fileversion.h"

// Binds procName of moduleName into proc, unless proc is set already. The
// module is taken from those loaded or loaded without the system's error box;
// raises EUtError "Library not found: %s" or "Function not found: %s.%s".
void BindProcedure(void*& proc, const String& moduleName, const String& procName);

template <typename F>
  requires std::is_function_v<F>
void BindProcedure(F*& proc, const String& moduleName, const String& procName) {
  void* address = reinterpret_cast<void*>(proc);
  BindProcedure(address, moduleName, procName);
  proc = reinterpret_cast<F*>(address);
}

// The module's file path.
String ModulePath(HMODULE module);
// The program file of the process that owns the window. Raises EUtError for a
// null window ("The window with handle %d is not valid") or a process that
// does not open ("The process with ID %d is not valid").
String ProcessImagePath(HWND window);
void UnloadLibrary(HMODULE& module);

enum TCompactPathFormat { cpfPathEllipsis, cpfEndEllipsis };
// The path fitted into width pixels with its middle (or end) replaced by
// "..."; empty for no device context, an empty path or a width below 1.
String CompactPath(HDC dc, const String& path, Integer width, TCompactPathFormat format);

// Version information of a loaded module ("The Module with handle %d is not
// valid" for none) and of the program that owns a window.
std::unique_ptr<TUtFileVersionInfo> ModuleVersionInfo(HMODULE module);
std::unique_ptr<TUtFileVersionInfo> WindowVersionInfo(HWND window);
