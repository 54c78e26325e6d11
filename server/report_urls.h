#pragma once

// Text of the six reports sent to the product server. Pure builders: each
// takes the endpoint URL, a fresh signed parameter string and the values,
// and joins the fields with "&" in the order the server reads them. Values
// are never URL-encoded.

#include <cstdint>
#include <string>

namespace server {

// "downurl=": the pack URL, or "pack,resource pack" when the resource
// pack's URL and size are both known.
std::string BuildDownloadStartUrl(const std::string& loadstart_url,
                                  const std::string& signed_params,
                                  const std::string& download_url,
                                  const std::string& rc_download_url,
                                  const std::string& rc_file_size,
                                  const std::string& version);

// Figures of the download-time report.
struct DownloadTiming {
  uint32_t elapsed_ms;       // "totalTime=" value
  uint32_t divisor_seconds;  // whole seconds of elapsed_ms, at least 1
  uint64_t bits_per_second;  // "downloadSpeed=" value
};

// elapsed = now - start (modulo 2^32, like the tick counter itself);
// speed = total_bytes / divisor_seconds * 8, in integer arithmetic. The
// speed is computed in 64 bits: a fast download of a large pack would wrap
// a 32-bit value.
DownloadTiming ComputeDownloadTiming(uint32_t now_ms, uint32_t start_ms,
                                     uint32_t total_bytes);

std::string BuildDownloadTimeUrl(const std::string& loaded_url,
                                 const std::string& signed_params,
                                 const DownloadTiming& timing,
                                 const std::string& version);

std::string BuildInstalledUrl(const std::string& installed_url,
                              const std::string& signed_params,
                              uint32_t elapsed_seconds,
                              const std::string& version);

// Bytes written so far: |overall_progress| (sum of the parts' fractions;
// 0 after a single-stream download) times the pack size, "%.0f".
std::string FormatDownloadedBytes(float overall_progress,
                                  const std::string& file_size);

std::string BuildCancelUrl(const std::string& loadcancel_url,
                           const std::string& signed_params,
                           uint32_t elapsed_ms,
                           const std::string& downloaded_bytes,
                           const std::string& file_size,
                           const std::string& version);

std::string BuildErrorUrl(const std::string& diagnose_url,
                          const std::string& signed_params,
                          const std::string& error_kind,
                          const std::string& version);

// 100 x |overall_progress| as a whole number, "%.0f".
std::string FormatSlowDownloadPercent(float overall_progress);

// Form body of the slow-download POST.
std::string BuildSlowDownloadBody(const std::string& signed_params,
                                  const std::string& percent);

}  // namespace server
