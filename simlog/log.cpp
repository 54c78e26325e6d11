#include "simlog/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "base/bind.h"
#include "base/message_loop.h"
#include "simlog/log_assist.h"

namespace simlog {

namespace {

std::atomic<bool> g_debug_logging{false};

// Every line goes through the UI loop at level 3, the threshold that
// initialisation sets.
constexpr int kLineLevel = 3;
constexpr int kInitLevel = 3;

}  // namespace

std::string LogFormat(const char* format, ...) {
  if (format == nullptr) return "NULL";
  char buffer[2048] = {0};
  va_list args;
  va_start(args, format);
  // Room for 2046 characters: vsnprintf cuts a longer result there.
  int length = vsnprintf(buffer, kMaxMessageLength + 1, format, args);
  va_end(args);
  if (length < 0) return std::string();
  return buffer;
}

void LogWrite(const char* source, int line, const std::string& message, bool write) {
  if (!write) return;
  base::MessageLoop* ui_loop = g_ui_loop;
  if (ui_loop == nullptr) return;
  std::string text = message.size() > kMaxMessageLength
                         ? message.substr(0, kMaxMessageLength)
                         : message;
  ui_loop->PostTask(fastdelegate::BindUnretained(
      LogAssist::Instance(), &LogAssist::Dispatch,
      std::string(source != nullptr ? source : "NULL"), line, kLineLevel, text));
}

void LogWrite(const char* source, int line, const char* message, bool write) {
  LogWrite(source, line, std::string(message != nullptr ? message : "NULL"), write);
}

void LogInit(const std::string& folder) {
  base::MessageLoop* ui_loop = g_ui_loop;
  if (ui_loop == nullptr) return;
  ui_loop->PostTask(fastdelegate::BindUnretained(
      LogAssist::Instance(), &LogAssist::Initialise, kInitLevel, folder));
}

void SetDebugLogging(bool on) { g_debug_logging.store(on); }

bool DebugLogging() { return g_debug_logging.load(); }

}  // namespace simlog
