#pragma once
// The BIN file operations of VE learn and the file choosers: the signature
// test, reading the VE table, and writing a learned table into a new BIN.

#include <cstdint>
#include <string>

#include "cal/ve_table.h"
#include "link/file_open_caption.h"

namespace vantor {

enum class SignatureStatus { Bin, CannotOpen, NotABin };

// Which program asks: the two word their refusal differently.
enum class BinReader { MainProgram, UpdateUtility };

struct SignatureCheck {
  SignatureStatus status = SignatureStatus::CannotOpen;
  std::uint16_t generation = 0;  // valid for Bin
  // The message box for NotABin; empty otherwise (cannot-open has no message here).
  std::string text;
  std::string caption;
};

constexpr const char* kNotABinMain = "Not an ORV KDM-9 Flash BIN!";
constexpr const char* kNotABinUpdate = "Not an ORV Flash BIN";
constexpr const char* kNotABinCaption = "Incorrect BIN File";
constexpr const char* kCannotOpenBin = "Can not open BIN File";

// A file shorter than 6 bytes, or whose bytes 2-5 are not "ORV9", is not a BIN.
SignatureCheck CheckSignature(const std::string& path, BinReader reader = BinReader::MainProgram);

// Reads the cells block by block into table (rows 1-16, 17-32, 31-35, later
// copies winning). A file that ends early leaves the remaining cells as they
// were and is not an error. False when the file cannot be opened or read.
bool ReadVeTable(const std::string& path, VeTable* table);

// Where a write starts: the new file as it stands (a missing one is made
// from the source), or a fresh copy of the source.
enum class VeWriteBase { ExistingFile, FreshCopyOfSource };

// Writes learned into newPath. The starting file (padded with 0xFF to 32,768
// bytes) is copied under a working name, updated and renamed over newPath, so
// the file is replaced whole. The generation becomes generation + 1 and the
// checksum is rewritten.
bool WriteVeTable(const std::string& sourcePath, const std::string& newPath, std::uint16_t generation,
                  const VeTable& learned, VeWriteBase base = VeWriteBase::ExistingFile);

}  // namespace vantor
