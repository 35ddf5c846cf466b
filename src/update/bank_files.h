#pragma once
// The update run's working files: "Bank_%d_old.bin" (the bank as read from
// the module, kept for a run that must resume) and "Bank_%d_new.bin" (its
// conversion), in the run's folder. The simulated module keeps its files in
// a folder of its own, so that a run on a real module never finds them.

#include <string>

namespace vantor {

constexpr const char* kSimulatedModuleFolder = "SimulatedECM";

// The folder a run keeps its bank files in: base (empty: the working
// directory), or its "SimulatedECM" subfolder for the simulated module.
std::string BankDirectory(const std::string& base, bool simulatedModule);

// "Bank_%d_old.bin" / "Bank_%d_new.bin" inside directory.
std::string OldBankPath(const std::string& directory, int bank);
std::string NewBankPath(const std::string& directory, int bank);

// The folder as the user finds it: absolute, the working directory for "".
std::string ShownFolder(const std::string& directory);

enum class BankFileStatus { Ok, CannotOpen, NotABankFile };

// A bank file is 32,768 bytes with "ORV9" at bytes 2-5.
BankFileStatus CheckBankFile(const std::string& path);

}  // namespace vantor
