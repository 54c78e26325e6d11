#include "installer/util/mac_address.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>

namespace {

const char* const kVirtualPrefixes[] = {"00:0C:29", "00:50:56", "00:05:69", "0A:00:27"};

bool HasConfiguredMask(const AdapterFacts& adapter) {
  return !adapter.last_mask.empty() && adapter.last_mask != "0.0.0.0";
}

bool IsVirtual(const std::string& text) {
  for (const char* prefix : kVirtualPrefixes) {
    if (text.compare(0, 8, prefix) == 0) return true;
  }
  return false;
}

std::vector<AdapterFacts> ToFacts(const IP_ADAPTER_INFO* info) {
  std::vector<AdapterFacts> adapters;
  for (; info != nullptr; info = info->Next) {
    AdapterFacts facts;
    const IP_ADDR_STRING* entry = &info->IpAddressList;
    while (entry->Next != nullptr) entry = entry->Next;
    facts.last_mask = entry->IpMask.String;
    memcpy(facts.address, info->Address, sizeof(facts.address));
    adapters.push_back(facts);
  }
  return adapters;
}

}  // namespace

std::string FormatMacAddress(const unsigned char address[6]) {
  char text[18];
  snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X", address[0],
           address[1], address[2], address[3], address[4], address[5]);
  return text;
}

std::string ChooseMacAddress(const std::vector<AdapterFacts>& adapters) {
  std::string result;
  std::string fallback;
  for (const AdapterFacts& adapter : adapters) {
    if (!HasConfiguredMask(adapter)) continue;
    std::string text = FormatMacAddress(adapter.address);
    if (text == "00:00:00:00:00:00") continue;
    if (IsVirtual(text)) {
      if (fallback.empty()) fallback = text;
    } else {
      result = text;
    }
  }
  return result.empty() ? fallback : result;
}

std::string GetMacAddress() {
  // 640 bytes hold one adapter; the call says how much a longer list needs.
  std::vector<unsigned char> buffer(640);
  ULONG size = static_cast<ULONG>(buffer.size());
  DWORD status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  if (status == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  if (status != ERROR_SUCCESS) return kFallbackMacAddress;
  std::vector<AdapterFacts> adapters =
      ToFacts(reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()));
  for (const AdapterFacts& adapter : adapters) {
    if (HasConfiguredMask(adapter))
      printf("mac address:%s\n", FormatMacAddress(adapter.address).c_str());
  }
  return ChooseMacAddress(adapters);
}
