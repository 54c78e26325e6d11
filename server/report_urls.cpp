#include "server/report_urls.h"

#include <cstdio>
#include <cstdlib>

namespace server {

namespace {

std::string FormatWhole(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.0f", value);
  return buffer;
}

}  // namespace

std::string BuildDownloadStartUrl(const std::string& loadstart_url,
                                  const std::string& signed_params,
                                  const std::string& download_url,
                                  const std::string& rc_download_url,
                                  const std::string& rc_file_size,
                                  const std::string& version) {
  std::string urls = download_url;
  if (!rc_download_url.empty() && !rc_file_size.empty())
    urls += "," + rc_download_url;
  return loadstart_url + signed_params + "&downurl=" + urls +
         "&version=" + version;
}

DownloadTiming ComputeDownloadTiming(uint32_t now_ms, uint32_t start_ms,
                                     uint32_t total_bytes) {
  DownloadTiming timing;
  timing.elapsed_ms = now_ms - start_ms;
  timing.divisor_seconds = timing.elapsed_ms / 1000;
  if (timing.divisor_seconds < 1)
    timing.divisor_seconds = 1;
  timing.bits_per_second =
      static_cast<uint64_t>(total_bytes / timing.divisor_seconds) * 8;
  return timing;
}

std::string BuildDownloadTimeUrl(const std::string& loaded_url,
                                 const std::string& signed_params,
                                 const DownloadTiming& timing,
                                 const std::string& version) {
  return loaded_url + signed_params +
         "&totalTime=" + std::to_string(timing.elapsed_ms) +
         "&downloadSpeed=" + std::to_string(timing.bits_per_second) +
         "&version=" + version;
}

std::string BuildInstalledUrl(const std::string& installed_url,
                              const std::string& signed_params,
                              uint32_t elapsed_seconds,
                              const std::string& version) {
  return installed_url + signed_params +
         "&totalTime=" + std::to_string(elapsed_seconds) +
         "&version=" + version;
}

std::string FormatDownloadedBytes(float overall_progress,
                                  const std::string& file_size) {
  const double size = std::strtod(file_size.c_str(), nullptr);
  return FormatWhole(static_cast<double>(overall_progress) * size);
}

std::string BuildCancelUrl(const std::string& loadcancel_url,
                           const std::string& signed_params,
                           uint32_t elapsed_ms,
                           const std::string& downloaded_bytes,
                           const std::string& file_size,
                           const std::string& version) {
  return loadcancel_url + signed_params +
         "&infors=infors:DownloadTime:" + std::to_string(elapsed_ms) +
         "@DownloadSize:" + downloaded_bytes + "@TotalSize:" + file_size +
         "&version=" + version;
}

std::string BuildErrorUrl(const std::string& diagnose_url,
                          const std::string& signed_params,
                          const std::string& error_kind,
                          const std::string& version) {
  return diagnose_url + signed_params + "&failMsg=" + error_kind +
         "&version=" + version;
}

std::string FormatSlowDownloadPercent(float overall_progress) {
  return FormatWhole(100.0 * static_cast<double>(overall_progress));
}

std::string BuildSlowDownloadBody(const std::string& signed_params,
                                  const std::string& percent) {
  return signed_params + "&clientType=1&logType=1&logBody=25minutes downed" +
         percent + "percent.";
}

}  // namespace server
