#include "installer/util/mac_address.h"

#include <gtest/gtest.h>

namespace {

AdapterFacts Adapter(const char* mask, unsigned char b0, unsigned char b1,
                     unsigned char b2, unsigned char b3 = 0x11,
                     unsigned char b4 = 0x22, unsigned char b5 = 0x33) {
  AdapterFacts facts;
  facts.last_mask = mask;
  const unsigned char bytes[6] = {b0, b1, b2, b3, b4, b5};
  for (int i = 0; i < 6; ++i) facts.address[i] = bytes[i];
  return facts;
}

TEST(MacAddressTest, Format) {
  const unsigned char address[6] = {0x00, 0x0c, 0x29, 0xab, 0x01, 0xff};
  EXPECT_EQ("00:0C:29:AB:01:FF", FormatMacAddress(address));
}

TEST(MacAddressTest, ChoiceTable) {
  const AdapterFacts physical_a = Adapter("255.255.255.0", 0x3C, 0x97, 0x0E);
  const AdapterFacts physical_b = Adapter("255.255.0.0", 0x3C, 0x97, 0x0F);
  const AdapterFacts vmware = Adapter("255.255.255.0", 0x00, 0x0C, 0x29);
  const AdapterFacts vmware2 = Adapter("255.255.255.0", 0x00, 0x50, 0x56);
  const AdapterFacts vbox = Adapter("255.255.255.0", 0x0A, 0x00, 0x27);
  const AdapterFacts parallels = Adapter("255.255.255.0", 0x00, 0x05, 0x69);
  const AdapterFacts zero = Adapter("255.255.255.0", 0, 0, 0, 0, 0, 0);
  const AdapterFacts no_mask = Adapter("0.0.0.0", 0x3C, 0x97, 0x10);
  const AdapterFacts empty_mask = Adapter("", 0x3C, 0x97, 0x11);

  const struct {
    const char* label;
    std::vector<AdapterFacts> adapters;
    const char* expected;
  } kCases[] = {
      {"none", {}, ""},
      {"only a VMware adapter", {vmware}, "00:0C:29:11:22:33"},
      {"physical beats virtual before it", {vmware, physical_a}, "3C:97:0E:11:22:33"},
      {"physical beats virtual after it", {physical_a, vmware}, "3C:97:0E:11:22:33"},
      {"last physical wins", {physical_a, physical_b}, "3C:97:0F:11:22:33"},
      {"first virtual is the fallback", {vbox, vmware2, parallels}, "0A:00:27:11:22:33"},
      {"all-zero address skipped", {zero}, ""},
      {"all-zero skipped, virtual kept", {zero, parallels}, "00:05:69:11:22:33"},
      {"mask 0.0.0.0 skipped", {no_mask}, ""},
      {"empty mask skipped", {empty_mask, vmware}, "00:0C:29:11:22:33"},
      {"unconfigured physical ignored", {physical_a, no_mask, empty_mask}, "3C:97:0E:11:22:33"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.expected, ChooseMacAddress(c.adapters)) << c.label;
}

// The read itself: whatever Wine reports, the answer is a formatted
// address, the fallback, or empty when no adapter has an address.
TEST(MacAddressTest, ReadGivesFormattedAddressOrNothing) {
  std::string mac = GetMacAddress();
  if (!mac.empty()) {
    ASSERT_EQ(17u, mac.size()) << mac;
    for (size_t i = 2; i < mac.size(); i += 3) EXPECT_EQ(':', mac[i]) << mac;
  }
}

}  // namespace
