#include <gtest/gtest.h>

#include "platform/serial_device.h"

namespace vantor {
namespace {

#ifndef _WIN32

TEST(DevicePathForPort, ComNamesMapToTheSerialDevices) {
  EXPECT_EQ(DevicePathForPort("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePathForPort("COM2"), "/dev/ttyS1");
  EXPECT_EQ(DevicePathForPort("COM40"), "/dev/ttyS39");
  EXPECT_EQ(DevicePathForPort("com3"), "/dev/ttyS2");
}

TEST(DevicePathForPort, DevicePathsPassThrough) {
  EXPECT_EQ(DevicePathForPort("/dev/ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(DevicePathForPort("/dev/pts/7"), "/dev/pts/7");
}

#else

TEST(DevicePathForPort, ComNamesMapToTheDeviceNamespace) {
  EXPECT_EQ(DevicePathForPort("COM1"), "\\\\.\\COM1");
  EXPECT_EQ(DevicePathForPort("COM40"), "\\\\.\\COM40");
}

#endif

TEST(DevicePathForPort, OtherNamesMeanNothing) {
  for (const char* name : {"", "COM", "COM0", "COM01", "COM41", "COM100", "COMX", "COM1a", "COM 1", "LPT1",
                           "ttyS0", "dev/ttyS0"})
    EXPECT_EQ(DevicePathForPort(name), "") << name;
}

TEST(PortNameFits, NamesLongerThanADeviceNameAreRefused) {
  EXPECT_TRUE(PortNameFits("COM40"));
  EXPECT_TRUE(PortNameFits("SIM"));
  EXPECT_FALSE(PortNameFits(std::string(kDeviceNameBytes, 'X')));
  EXPECT_FALSE(PortNameFits("/dev/serial/by-id/usb-FTDI_FT232R-if00"));
#ifndef _WIN32
  EXPECT_TRUE(PortNameFits("/dev/pts/12345"));
  EXPECT_TRUE(PortNameFits("/dev/ttyUSB0"));
#endif
}

TEST(OpenPlatformSerial, UnknownPortsGiveNoDevice) {
  EXPECT_EQ(OpenPlatformSerial(""), nullptr);
  EXPECT_EQ(OpenPlatformSerial("COM41"), nullptr);
  EXPECT_EQ(OpenPlatformSerial("/nonexistent/serial-device"), nullptr);
}

}  // namespace
}  // namespace vantor
