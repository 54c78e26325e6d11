#include "simlog/log_file.h"

#include <shlwapi.h>

#include <cstdio>

namespace simlog {

namespace {

LogFileFacts ReadFacts(const std::string& path) {
  LogFileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return facts;
  facts.exists = true;
  facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.last_write = data.ftLastWriteTime;
  return facts;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program's own folder, separator kept ("C:\Program\").
std::string OwnFolder() {
  char path[MAX_PATH] = {0};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string text(path, length);
  size_t pos = text.find_last_of("\\/");
  return pos == std::string::npos ? std::string() : text.substr(0, pos + 1);
}

std::string LogFileName(const std::string& folder, int index) {
  char name[16];
  snprintf(name, sizeof(name), "%d.log", index);
  return folder + "\\" + name;
}

}  // namespace

LogFileChoice ChooseLogFileIndex(const LogFileFacts& file0, const LogFileFacts& file1) {
  LogFileChoice choice;
  const LogFileFacts* facts[2] = {&file0, &file1};
  for (int i = 0; i < 2; ++i) {
    if (!facts[i]->exists || facts[i]->size < kLogFileReuseLimit) {
      choice.index = i;
      return choice;
    }
  }
  choice.index = CompareFileTime(&file1.last_write, &file0.last_write) < 0 ? 1 : 0;
  choice.delete_first = true;
  return choice;
}

std::string ChooseLogFile(const std::string& folder) {
  char combined[MAX_PATH] = {0};
  if (PathCombineA(combined, OwnFolder().c_str(), folder.c_str()) == nullptr)
    return std::string();
  std::string path(combined);
  if (!IsDirectory(path)) {
    // A file in the way of the folder is removed.
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
    CreateDirectoryA(path.c_str(), nullptr);
  }
  if (!IsDirectory(path)) return std::string();

  std::string names[2] = {LogFileName(path, 0), LogFileName(path, 1)};
  LogFileChoice choice = ChooseLogFileIndex(ReadFacts(names[0]), ReadFacts(names[1]));
  if (choice.delete_first) DeleteFileA(names[choice.index].c_str());
  return names[choice.index];
}

std::string FormatLogLine(const SYSTEMTIME& time, int level, const std::string& message,
                          const char* source, int line, unsigned options, bool debug) {
  std::string text;
  char piece[64];
  if (options & kOptionTimeStamp) {
    snprintf(piece, sizeof(piece), "%d.%d.%d %02d:%02d:%02d:%03d ", time.wYear, time.wMonth,
             time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    text += piece;
  }
  if (options & kOptionLevel) {
    snprintf(piece, sizeof(piece), "%d ", level);
    text += piece;
  }
  text += message;
  if (debug && (options & kOptionSourceSuffix)) {
    text += '\t';
    text += source != nullptr ? PathFindFileNameA(source) : "NULL";
    snprintf(piece, sizeof(piece), "(%d)", line);
    text += piece;
  }
  text += '\n';
  return text;
}

}  // namespace simlog
