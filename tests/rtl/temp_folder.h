// A unique folder under the system's temporary folder, removed with everything
// in it when the test ends.
#pragma once

#include <filesystem>
#include <random>
#include <system_error>

#include "rtl/files.h"
#include "rtl/types.h"

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      FPath = base / ("kestrum-test-" + std::to_string(random()) + "-" + std::to_string(attempt));
      std::error_code error;
      if (std::filesystem::create_directory(FPath, error)) break;
    }
    FName = IncludeTrailingPathDelimiter(ToString(FPath));
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(FPath, error);
  }

  // The folder with a trailing separator.
  const String& Name() const { return FName; }
  String File(const String& name) const { return FName + name; }

 private:
  static String ToString(const std::filesystem::path& path) {
    auto text = path.u16string();
    return String(text.begin(), text.end());
  }
  std::filesystem::path FPath;
  String FName;
};
