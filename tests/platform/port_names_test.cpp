#include <gtest/gtest.h>

#include "platform/serial_device.h"

namespace vantor {
namespace {

#ifndef _WIN32

TEST(DevicePathForPort, ComNamesMapToTheSerialDevicesAndDevicePathsPassThrough) {
  EXPECT_EQ(DevicePathForPort("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePathForPort("COM40"), "/dev/ttyS39");
  EXPECT_EQ(DevicePathForPort("com3"), "/dev/ttyS2");
  EXPECT_EQ(DevicePathForPort("/dev/pts/7"), "/dev/pts/7");
}

#else

TEST(DevicePathForPort, ComNamesMapToTheDeviceNamespace) {
  EXPECT_EQ(DevicePathForPort("COM1"), "\\\\.\\COM1");
  EXPECT_EQ(DevicePathForPort("COM40"), "\\\\.\\COM40");
}

#endif

TEST(DevicePathForPort, OtherNamesMeanNothing) {
  for (const char* name : {"", "COM", "COM0", "COM41", "COM100", "COMX", "LPT1"})
    EXPECT_EQ(DevicePathForPort(name), "") << name;
}

TEST(PortNameFits, NamesLongerThanADeviceNameAreRefused) {
  EXPECT_TRUE(PortNameFits("COM40"));
  EXPECT_FALSE(PortNameFits(std::string(kDeviceNameBytes, 'X')));
#ifndef _WIN32
  EXPECT_TRUE(PortNameFits(std::string(kDeviceNameBytes - 1, '/')));
#endif
}

TEST(OpenPlatformSerial, UnknownPortsGiveNoDevice) {
  EXPECT_EQ(OpenPlatformSerial("COM41"), nullptr);
  EXPECT_EQ(OpenPlatformSerial("/nonexistent/serial-device"), nullptr);
}

}  // namespace
}  // namespace vantor
