// The real forms the form-file tests and benchmarks run over: those of
// ../shared/corpus beside the repository (its text/ and binary/ folders), or,
// when the environment variable KESTRUM_CORPUS_DIRS names folders (separated
// by ":"), every .dfm file below those folders.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace formfile_test {

struct CorpusFile {
  std::filesystem::path File;
  std::string Path;      // for messages, UTF-8
  std::string Name;      // the file name
  std::string TestName;  // unique, letters, digits and "_" only
};

enum class TFormEncoding { Text, Binary, Resource };

inline TFormEncoding DetectEncoding(std::string_view data) {
  if (data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0xFF && data[1] == 0x0A) {
    return TFormEncoding::Resource;
  }
  if (data.size() >= 8 && data.substr(0, 8) == std::string_view("\0\0\0\0\x20\0\0\0", 8)) {
    return TFormEncoding::Resource;
  }
  if (data.substr(0, 4) == "TPF0") return TFormEncoding::Binary;
  return TFormEncoding::Text;
}

inline std::string ToUTF8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The repository's corpus folder: ../shared/corpus from the repository root
// (found from this file's place in it), or one level further up for a
// checkout that sits in a folder of checkouts.
inline std::filesystem::path DefaultCorpusDir() {
  // A build that records source paths relative to its build folder runs its
  // tests from there, so a relative path is taken from the working folder.
  std::error_code error;
  std::filesystem::path root = std::filesystem::absolute(std::filesystem::path(__FILE__), error)
                                   .lexically_normal()
                                   .parent_path()
                                   .parent_path()
                                   .parent_path();
  std::filesystem::path beside = root.parent_path() / "shared" / "corpus";
  std::filesystem::path further = root.parent_path().parent_path() / "shared" / "corpus";
  if (!std::filesystem::is_directory(beside, error) && std::filesystem::is_directory(further, error)) return further;
  return beside;
}

inline std::vector<std::filesystem::path> CorpusFolders() {
  std::vector<std::filesystem::path> folders;
  if (const char* dirs = std::getenv("KESTRUM_CORPUS_DIRS"); dirs != nullptr && *dirs != 0) {
    std::string_view list(dirs);
    while (!list.empty()) {
      size_t colon = list.find(':');
      std::string_view one = list.substr(0, colon);
      if (!one.empty()) folders.emplace_back(std::string(one));
      list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return folders;
  }
  std::filesystem::path corpus = DefaultCorpusDir();
  folders.push_back(corpus / "text");
  folders.push_back(corpus / "binary");
  return folders;
}

inline bool HasFormExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".dfm";
}

inline std::vector<CorpusFile> CorpusFiles() {
  std::vector<CorpusFile> files;
  for (const auto& folder : CorpusFolders()) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) continue;
    std::vector<std::filesystem::path> paths;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_regular_file(error) && HasFormExtension(it->path())) paths.push_back(it->path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
      CorpusFile file;
      file.File = path;
      file.Path = ToUTF8(path);
      file.Name = ToUTF8(path.filename());
      std::string name = std::to_string(files.size()) + "_" + file.Name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      file.TestName = name;
      files.push_back(std::move(file));
    }
  }
  return files;
}

}  // namespace formfile_test
