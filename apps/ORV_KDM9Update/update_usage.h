#pragma once
// ORV_KDM9Update's help and version texts, for the main of each window host.

#ifdef _WIN32
#define VANTOR_UPDATE_USER_FOLDER "%APPDATA%\\Vantor"
#define VANTOR_UPDATE_TOOLKIT_NOTE ""
#else
#define VANTOR_UPDATE_USER_FOLDER "~/.config/vantor"
#define VANTOR_UPDATE_TOOLKIT_NOTE " Qt's own options (-platform NAME, ...) are accepted too."
#endif

namespace vantor::update {

inline constexpr char kUsage[] =
    "usage: ORV_KDM9Update [--demo] [--config CFG]\n\n"
    "Reads every calibration bank of an ORV KDM-9 flash ECM, converts each to layout\n"
    "1.1 keeping your parameters, and programs them back with the new firmware code.\n"
    "File > BIN Update... converts a single BIN file.\n\n"
    "  --demo         run on the simulated ECM for this run only (the configuration\n"
    "                 keeps your port)\n"
    "  --config CFG   the configuration file (default: ORV_KDM9Update.cfg beside the\n"
    "                 program, or in " VANTOR_UPDATE_USER_FOLDER " when its folder is shared)\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n\n"
    "The firmware code image, supplied with the ECM's firmware, goes beside the\n"
    "configuration as ORV_KDM9_firmware.bin. A run keeps Bank_N_old.bin and Bank_N_new.bin\n"
    "in the working directory; the simulated ECM keeps its own in the subfolder\n"
    "SimulatedECM." VANTOR_UPDATE_TOOLKIT_NOTE "\n";

inline constexpr char kVersion[] = "ORV_KDM9Update " VANTOR_VERSION "\nORV KDM-9 Update Version 1.1a\n";

}  // namespace vantor::update
