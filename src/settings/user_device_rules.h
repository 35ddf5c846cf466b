#pragma once
// The rules of the User Devices dialog: what an edit accepts as it is typed,
// the checks made when an edit is left, and a slot's values as the dialog's
// texts and back.

#include <string>

#include "settings/settings.h"

namespace vantor {

constexpr int kVoltsTextMax = 5;
constexpr int kReadingTextMax = 9;
constexpr int kPlacesMax = 4;
constexpr const char* kNewDeviceName = "Put New Device Name Here";
constexpr const char* kFreeSlotName = "-Available Device Entry-";

// Deletes, as typed, what a number edit does not take: signed decimal keeps a
// leading "-" and the first "."; otherwise digits only. removed tells whether
// anything went (the dialog beeps).
std::string FilterTypedNumber(const std::string& text, bool signedDecimal, bool* removed);

// Normalise the text in place; 0 when it was accepted as typed, -1 when it was corrected.
int CheckVolts(std::string& text);    // 0.000..5.000, "%.3f"
int CheckReading(std::string& text);  // -999.9999..9999.9999, "%.4f"
int CheckPlaces(std::string& text);   // 0..4

// A slot as the dialog's edits show it.
struct UserDeviceTexts {
  std::string name, unit;
  std::string voltsJ, readingJ, voltsK, readingK;
  std::string places;
  friend bool operator==(const UserDeviceTexts&, const UserDeviceTexts&) = default;
};

UserDeviceTexts SlotTexts(const UserDevice& device);

// Normalises texts as leaving the edits would, then stores them into the
// slot (volts and readings rounded). Two equal voltages are stored too: such
// a device reads a constant (the conversion takes the lower reading).
void SaveSlot(UserDeviceTexts& texts, UserDevice& device);
void ClearSlot(UserDevice& device);

}  // namespace vantor
