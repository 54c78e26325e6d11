// The machine's MAC address, sent with every server request.
//
// The choice among adapters is a pure function (ChooseMacAddress) so that
// its rules can be tested with made-up adapter lists; GetMacAddress only
// reads the list with GetAdaptersInfo. Any thread; no state.
#pragma once

#include <string>
#include <vector>

// Sent when the adapter list cannot be read at all.
constexpr char kFallbackMacAddress[] = "11:11:11:11:11:11";

struct AdapterFacts {
  std::string last_mask;          // mask text of the adapter's last IP entry
  unsigned char address[6] = {};  // first six bytes of the hardware address
};

// "%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatMacAddress(const unsigned char address[6]);

// Walks the adapters in order. An adapter whose last mask is empty or
// "0.0.0.0" (no configured address) is skipped, and so is an all-zero
// address. Addresses starting with a virtual machine maker's prefix
// ("00:0C:29", "00:50:56", "00:05:69", "0A:00:27") count only as a fallback.
// The answer is the last physical adapter, else the first virtual one,
// else empty (the caller then sends kFallbackMacAddress).
std::string ChooseMacAddress(const std::vector<AdapterFacts>& adapters);

// Reads the adapters and applies ChooseMacAddress. Prints
// "mac address:<text>" to standard output for each adapter with a mask.
// kFallbackMacAddress when GetAdaptersInfo fails; empty when no adapter
// qualifies.
std::string GetMacAddress();
